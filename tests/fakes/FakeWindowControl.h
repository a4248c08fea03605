#pragma once

#include "platform/WindowControl.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace quillon::fakes {

/// Windows of fake processes, in table order. Raising records the window and
/// makes it its process's main window and the focused one.
class FakeWindowControl final : public platform::WindowControl {
public:
    struct Window {
        platform::WindowId id = 0;
        int32_t pid = 0;
        std::optional<platform::WindowKind> kind = platform::WindowKind::standard;
        std::optional<QString> title;
        QRectF frame{0, 0, 400, 300};
        bool resizable = true;
    };

    /// One setFrame request, as asked.
    struct FrameRequest {
        platform::WindowId window = 0;
        QRectF frame;
    };

    std::optional<std::vector<platform::WindowId>> windows(int32_t pid) override
    {
        if (!readable)
            return std::nullopt;
        std::vector<platform::WindowId> ids;
        for (const auto& w : table) {
            if (w.pid == pid)
                ids.push_back(w.id);
        }
        return ids;
    }
    std::optional<platform::WindowKind> kind(platform::WindowId id) override
    {
        const auto* w = find(id);
        return w ? w->kind : std::nullopt;
    }
    std::optional<QString> title(platform::WindowId id) override
    {
        const auto* w = find(id);
        return w ? w->title : std::nullopt;
    }
    std::optional<QRectF> frame(platform::WindowId id) override
    {
        const auto* w = find(id);
        return w ? std::optional<QRectF>(w->frame) : std::nullopt;
    }
    std::optional<platform::WindowId> focusedWindow() override { return focused; }
    std::optional<platform::WindowId> mainWindow(int32_t pid) override
    {
        const auto it = mainWindows.find(pid);
        return it == mainWindows.end() ? std::nullopt : std::optional<platform::WindowId>(it->second);
    }
    /// Answers at once, unless `holdRaises`: then `finishRaises()` answers.
    void raise(platform::WindowId id, std::function<void(bool)> done) override
    {
        const auto* w = find(id);
        if (w) {
            raised.push_back(id);
            mainWindows[w->pid] = id;
            focused = id;
        }
        if (holdRaises)
            heldRaises.push_back([done, ok = w != nullptr] {
                if (done)
                    done(ok);
            });
        else if (done)
            done(w != nullptr);
    }
    void finishRaises()
    {
        const auto held = std::move(heldRaises);
        heldRaises.clear();
        for (const auto& finish : held)
            finish();
    }
    bool close(platform::WindowId id) override
    {
        closed.push_back(id);
        return find(id) != nullptr;
    }

    bool isResizable(platform::WindowId id) override
    {
        const auto* w = find(id);
        return !w || w->resizable;
    }
    /// Records the request and moves the window at once (to the nearest cell
    /// of `cellSize` when set, as a terminal's size hints would). The
    /// completion runs at once, or is held in `heldCompletions` while
    /// `holdCompletions` is set.
    void setFrame(platform::WindowId id, const QRectF& frame,
                  std::function<void(std::optional<QRectF>)> done) override
    {
        frameRequests.push_back({id, frame});
        auto* w = findMutable(id);
        std::optional<QRectF> readBack;
        if (w) {
            QRectF applied = frame;
            if (cellSize.isValid()) {
                applied.setWidth(std::floor(frame.width() / cellSize.width()) * cellSize.width());
                applied.setHeight(std::floor(frame.height() / cellSize.height()) * cellSize.height());
            }
            if (!ignoreFrames)
                w->frame = applied;
            readBack = w->frame;
        }
        if (holdCompletions)
            heldCompletions.push_back([done, readBack] { done(readBack); });
        else if (done)
            done(readBack);
    }

    const Window* find(platform::WindowId id) const
    {
        const auto it = std::find_if(table.begin(), table.end(), [&](const Window& w) { return w.id == id; });
        return it == table.end() ? nullptr : &*it;
    }

    Window* findMutable(platform::WindowId id)
    {
        const auto it = std::find_if(table.begin(), table.end(), [&](const Window& w) { return w.id == id; });
        return it == table.end() ? nullptr : &*it;
    }
    /// Runs the held completions in order.
    void releaseCompletions()
    {
        auto held = std::move(heldCompletions);
        heldCompletions.clear();
        for (auto& completion : held)
            completion();
    }

    std::vector<Window> table;
    bool readable = true;
    std::optional<platform::WindowId> focused;
    std::map<int32_t, platform::WindowId> mainWindows;
    std::vector<platform::WindowId> raised;
    std::vector<platform::WindowId> closed;
    std::vector<FrameRequest> frameRequests;
    QSizeF cellSize;
    /// A window manager that ignores every request.
    bool ignoreFrames = false;
    bool holdCompletions = false;
    std::vector<std::function<void()>> heldCompletions;
    bool holdRaises = false;
    std::vector<std::function<void()>> heldRaises;
};

} // namespace quillon::fakes
