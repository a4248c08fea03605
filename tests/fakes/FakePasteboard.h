#pragma once

#include "platform/Pasteboard.h"

#include <optional>
#include <vector>

namespace quillon::fakes {

/// A pasteboard in memory.
class FakePasteboard final : public platform::Pasteboard {
public:
    void clear() override
    {
        text.reset();
        others.clear();
        ++clears;
        ++count;
    }
    bool writeString(const QString& value) override
    {
        text = value;
        others.clear();
        ++writes;
        ++count;
        return true;
    }
    int changeCount() override { return count; }
    QStringList types() override
    {
        QStringList list;
        if (text)
            list << plainTextType;
        for (const platform::PasteboardItem& item : others)
            list << item.type;
        return list;
    }
    std::optional<QString> string(const QString& type) override
    {
        if (type == plainTextType)
            return text;
        for (const platform::PasteboardItem& item : others)
            if (item.type == type)
                return item.value;
        return std::nullopt;
    }
    bool write(const std::vector<platform::PasteboardItem>& items) override
    {
        text.reset();
        others.clear();
        for (const platform::PasteboardItem& item : items) {
            if (item.type == plainTextType)
                text = item.value;
            else
                others.push_back(item);
        }
        ++writes;
        ++count;
        return true;
    }

    /// Recorded with their mark, then written as the real board writes them.
    bool writeFileURLs(const QList<QUrl>& urls, bool cut) override
    {
        fileWrites.push_back({urls, cut});
        return write(fileURLItems(urls, cut));
    }

    /// Answers at once, or keeps the answer back while `holdReads` is set
    /// until `answerReads()` (then with what the board holds at that time).
    void read(const QStringList& wanted, std::function<void(platform::PasteboardContents)> done) override
    {
        ++reads;
        pendingReads.push_back({wanted, std::move(done)});
        if (!holdReads)
            answerReads();
    }
    void answerReads()
    {
        auto pending = std::move(pendingReads);
        pendingReads.clear();
        for (auto& [wanted, done] : pending) {
            platform::PasteboardContents contents;
            contents.types = types();
            for (const QString& type : wanted)
                if (std::optional<QString> value = string(type))
                    contents.strings.emplace(type, *value);
            done(contents);
        }
    }

    /// What a paste would give now.
    std::optional<QString> text;
    /// Every other type offered, with its value.
    std::vector<platform::PasteboardItem> others;
    struct FileWrite {
        QList<QUrl> urls;
        bool cut = false;
    };
    std::vector<FileWrite> fileWrites;
    bool holdReads = false;
    std::vector<std::pair<QStringList, std::function<void(platform::PasteboardContents)>>> pendingReads;
    int reads = 0;
    int clears = 0;
    int writes = 0;
    int count = 0;
};

} // namespace quillon::fakes
