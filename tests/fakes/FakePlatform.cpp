#include "fakes/FakePlatform.h"

#include <QDir>

namespace quillon::fakes {

namespace {

class InlineSerialQueue final : public platform::SerialQueue {
public:
    InlineSerialQueue(InlineTasks& tasks, bool hold) : m_tasks(tasks), m_hold(hold) {}
    void run(std::function<void()> work, std::function<void()> then) override
    {
        if (m_hold)
            m_tasks.held.emplace_back(std::move(work), std::move(then));
        else
            m_tasks.run(std::move(work), std::move(then));
    }

private:
    InlineTasks& m_tasks;
    bool m_hold;
};

} // namespace

void InlineTasks::run(std::function<void()> work, std::function<void()> then)
{
    work();
    if (then)
        then();
}

std::unique_ptr<platform::SerialQueue> InlineTasks::makeSerial()
{
    return std::make_unique<InlineSerialQueue>(*this, holdSerialJobs);
}

bool InlineTasks::runHeldJob()
{
    if (held.empty())
        return false;
    auto [work, then] = std::move(held.front());
    held.pop_front();
    run(std::move(work), std::move(then));
    return true;
}

int InlineTasks::runHeldJobs()
{
    int count = 0;
    while (runHeldJob())
        ++count;
    return count;
}

FakePaths::FakePaths()
{
    QDir().mkpath(home());
    QDir().mkpath(tempDir());
}

bool FakeSystemLog::contains(const QString& text) const
{
    for (const auto& line : lines) {
        if (line.message.contains(text))
            return true;
    }
    return false;
}

std::optional<platform::Screen> FakeDisplays::mainScreen() const
{
    if (screenList.empty())
        return std::nullopt;
    const int index = mainIndex.value_or(0);
    if (index < 0 || index >= int(screenList.size()))
        return screenList.front();
    return screenList[size_t(index)];
}

void FakeDisplays::setScreens(std::vector<platform::Screen> screens)
{
    screenList = std::move(screens);
    m_handlers.notify();
}

FakePlatform::FakePlatform()
{
    if (platform::hasPlatform())
        m_previous = &platform::platform();
    platform::setPlatform(this);
}

FakePlatform::~FakePlatform() { platform::setPlatform(m_previous); }

platform::Screen makeScreen(const QRectF& frame, double menuBar, const QString& id)
{
    platform::Screen s;
    s.id = id;
    s.name = id;
    s.frame = frame;
    s.visibleFrame = QRectF(frame.x(), frame.y(), frame.width(), frame.height() - menuBar);
    return s;
}

} // namespace quillon::fakes
