#include "platform/linux/QtMainQueue.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <sys/timerfd.h>
#include <unistd.h>

namespace quillon::platform::linux_ {

namespace {

// A QTimer holds at most INT_MAX milliseconds (about 24.8 days); longer delays
// (an imported setting can ask for one) are re-armed in steps of this size.
constexpr qint64 kMaxStepMs = qint64(1) << 30;

void arm(QObject* context, std::shared_ptr<WorkItem::State> state, QDeadlineTimer deadline,
         std::shared_ptr<std::function<void()>> fn)
{
    auto* timer = new QTimer(context);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    const qint64 remaining = std::max<qint64>(0, deadline.remainingTime());
    timer->setInterval(int(std::min(remaining, kMaxStepMs)));
    QPointer<QTimer> guard(timer);
    state->onCancel = [guard] {
        if (guard)
            guard->deleteLater();
    };
    QObject::connect(timer, &QTimer::timeout, context, [context, timer, state, deadline, fn] {
        timer->deleteLater();
        if (state->cancelled)
            return;
        if (deadline.remainingTime() > 0) {
            arm(context, state, deadline, fn);
            return;
        }
        state->done = true;
        state->onCancel = nullptr;
        (*fn)();
    });
    timer->start();
}

} // namespace

QtMainQueue::QtMainQueue() = default;
QtMainQueue::~QtMainQueue() = default;

void QtMainQueue::post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(&m_context, std::move(fn), Qt::QueuedConnection);
}

WorkItem QtMainQueue::after(double seconds, std::function<void()> fn)
{
    auto state = std::make_shared<WorkItem::State>();
    const double ms = std::isfinite(seconds) ? std::max(0.0, seconds * 1000.0) : 0.0;
    const qint64 wait = ms >= 9.0e15 ? std::numeric_limits<qint64>::max() / 2 : qint64(std::llround(ms));
    arm(&m_context, state, QDeadlineTimer(wait, Qt::PreciseTimer),
        std::make_shared<std::function<void()>>(std::move(fn)));
    return WorkItem(state);
}

WorkItem QtMainQueue::at(const QDateTime& deadline, std::function<void()> fn)
{
    auto state = std::make_shared<WorkItem::State>();
    const int fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0) {
        // Without a timerfd the deadline still comes, only not across sleep.
        const double seconds = double(QDateTime::currentDateTimeUtc().msecsTo(deadline)) / 1000.0;
        return after(seconds, std::move(fn));
    }
    const qint64 ms = std::max<qint64>(1, deadline.toMSecsSinceEpoch());
    itimerspec spec{};
    spec.it_value.tv_sec = time_t(ms / 1000);
    spec.it_value.tv_nsec = long(ms % 1000) * 1000000L;
    ::timerfd_settime(fd, TFD_TIMER_ABSTIME, &spec, nullptr);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &m_context);
    QPointer<QSocketNotifier> guard(notifier);
    const auto finish = [guard, fd] {
        if (!guard)
            return;
        guard->setEnabled(false);
        guard->deleteLater();
        ::close(fd);
    };
    state->onCancel = finish;
    QObject::connect(notifier, &QSocketNotifier::activated, &m_context,
                     [state, finish, fd, fn = std::move(fn)] {
                         uint64_t expirations = 0;
                         if (::read(fd, &expirations, sizeof expirations) < 0 && errno == EAGAIN)
                             return;
                         state->onCancel = nullptr;
                         finish();
                         if (state->cancelled)
                             return;
                         state->done = true;
                         fn();
                     });
    return WorkItem(state);
}

} // namespace quillon::platform::linux_
