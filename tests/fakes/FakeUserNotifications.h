#pragma once

#include "fakes/FakeMainQueue.h"
#include "platform/UserNotifications.h"

#include <QMap>
#include <vector>

namespace quillon::fakes {

/// Records posts and removals; answers status and requests through the main
/// queue, as the desktop answers later.
class FakeUserNotifications final : public platform::UserNotifications {
public:
    struct Post {
        QString identifier;
        QString title;
        QString body;
    };

    explicit FakeUserNotifications(FakeMainQueue& queue)
        : m_queue(queue)
    {
    }

    void post(const QString& identifier, const QString& title, const QString& body) override
    {
        posts.push_back({identifier, title, body});
        shown.insert(identifier, posts.back());
    }
    void remove(const QString& identifier) override
    {
        removals << identifier;
        shown.remove(identifier);
    }
    void status(std::function<void(platform::NotificationStatus)> completion) override
    {
        m_queue.post([this, completion] { completion(currentStatus); });
    }
    void request(std::function<void(bool, std::optional<QString>)> completion) override
    {
        ++requests;
        m_queue.post([this, completion] {
            completion(requestError ? false : currentStatus == platform::NotificationStatus::granted,
                       requestError);
        });
    }

    platform::NotificationStatus currentStatus = platform::NotificationStatus::granted;
    std::optional<QString> requestError;
    std::vector<Post> posts;
    QStringList removals;
    /// What the person would see now, by identifier.
    QMap<QString, Post> shown;
    int requests = 0;

private:
    FakeMainQueue& m_queue;
};

} // namespace quillon::fakes
