#include "platform/linux/QtMainQueue.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <cmath>

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

} // namespace quillon::platform::linux_
