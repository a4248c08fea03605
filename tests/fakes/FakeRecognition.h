#pragma once

#include "platform/ColorSampler.h"
#include "platform/TextRecognizer.h"

#include <QHash>

namespace quillon::fakes {

/// Canned lines for every image; remembers the size of the last one.
class FakeTextRecognizer final : public platform::TextRecognizer {
public:
    std::vector<platform::RecognisedLine> recognize(const QImage& image) override
    {
        lastSize = image.size();
        ++calls;
        return lines;
    }
    std::vector<platform::RecognisedLine> lines;
    QSize lastSize;
    int calls = 0;
};

class FakeBarcodeReader final : public platform::BarcodeReader {
public:
    std::vector<QString> read(const QImage&) override { return payloads; }
    std::vector<QString> payloads;
};

/// Holds the request until the test answers it with `pick` or `cancel`.
class FakeColorSampler final : public platform::ColorSampler {
public:
    void sample(std::function<void(std::optional<QColor>)> done) override
    {
        ++opened;
        m_done = std::move(done);
    }
    bool isOpen() const { return bool(m_done); }
    void pick(const QColor& colour) { finish(colour); }
    void cancel() { finish(std::nullopt); }
    int opened = 0;

private:
    void finish(std::optional<QColor> colour)
    {
        auto done = std::move(m_done);
        m_done = nullptr;
        if (done)
            done(colour);
    }
    std::function<void(std::optional<QColor>)> m_done;
};

} // namespace quillon::fakes
