#include "platform/linux/WindowFilePreview.h"

#include "platform/Platform.h"
#include "platform/linux/LinuxThumbnails.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeDatabase>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <memory>

namespace quillon::platform::linux_ {

namespace {

// What a file shows: its picture, the start of its text, or neither (then
// its icon and name).
struct Look {
    QImage image;
    QString text;
};

// The start of a text file; none when the bytes are not text.
constexpr qint64 textBytes = 16 * 1024;

Look lookOf(const QString& path, const QSize& pixels)
{
    Look look;
    const QFileInfo info(path);
    if (!info.isFile())
        return look;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    const QString suffix = info.suffix().toLower();
    if (type.inherits(QStringLiteral("text/plain")) && suffix != "pdf") {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            QByteArray bytes = file.read(textBytes);
            if (!bytes.contains('\0'))
                look.text = QString::fromUtf8(bytes);
        }
        return look;
    }
    if (suffix == "pdf" || suffix == "heic" || suffix == "heif" || QImageReader(path).canRead())
        look.image = LinuxThumbnails::make(path, pixels);
    return look;
}

} // namespace

class PreviewWindow final : public QWidget {
public:
    PreviewWindow()
    {
        setAttribute(Qt::WA_QuitOnClose, false);
        setWindowTitle(QStringLiteral("Preview"));
        setMinimumSize(320, 240);
        resize(760, 560);
        setFocusPolicy(Qt::StrongFocus);
    }

    void showFiles(const QStringList& paths)
    {
        m_paths = paths;
        m_index = 0;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame(QPoint(), size());
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        load();
        platform().appShell().bringToFront(*this);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Escape:
            hide();
            return;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const int next = m_index + (event->key() == Qt::Key_Right ? 1 : -1);
            if (next >= 0 && next < m_paths.size()) {
                m_index = next;
                load();
            }
            return;
        }
        default:
            QWidget::keyPressEvent(event);
        }
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        // A picture decoded for a smaller window is decoded again.
        if (!m_look.image.isNull() && (m_look.image.width() < pictureRect().width() * devicePixelRatioF() &&
                                       m_look.image.height() < pictureRect().height() * devicePixelRatioF()))
            load();
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.fillRect(rect(), QColor(30, 30, 30));
        if (m_paths.isEmpty())
            return;
        const QString path = m_paths.at(m_index);
        const QRect area = pictureRect();
        painter.setPen(QColor(235, 235, 235));
        if (!m_look.image.isNull()) {
            QSizeF size = QSizeF(m_look.image.size()) / m_look.image.devicePixelRatio();
            size.scale(area.size(), Qt::KeepAspectRatio);
            QRectF target(QPointF(), size);
            target.moveCenter(QRectF(area).center());
            painter.drawImage(target, m_look.image);
        } else if (!m_look.text.isNull()) {
            QFont mono(QStringLiteral("monospace"));
            mono.setStyleHint(QFont::Monospace);
            mono.setPointSize(10);
            painter.setFont(mono);
            painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, m_look.text);
        } else if (m_loaded) {
            const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
            QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
            if (icon.isNull())
                icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
            const QRect iconRect(area.center().x() - 64, area.center().y() - 80, 128, 128);
            icon.paint(&painter, iconRect);
            painter.drawText(QRect(area.left(), iconRect.bottom() + 12, area.width(), 24), Qt::AlignCenter,
                             QFileInfo(path).fileName());
        }
        // The footer: the name and the place in the list.
        QString footer = QFileInfo(path).fileName();
        if (m_paths.size() > 1)
            footer += QStringLiteral("  ·  %1 of %2").arg(m_index + 1).arg(m_paths.size());
        painter.setPen(QColor(170, 170, 170));
        painter.drawText(QRect(12, height() - 32, width() - 24, 24), Qt::AlignCenter, footer);
    }

private:
    QRect pictureRect() const { return rect().adjusted(16, 16, -16, -40); }

    void load()
    {
        const QString path = m_paths.at(m_index);
        setWindowTitle(QFileInfo(path).fileName());
        m_look = {};
        m_loaded = false;
        update();
        const int generation = ++m_generation;
        const QSize pixels = (QSizeF(pictureRect().size()) * devicePixelRatioF()).toSize();
        auto result = std::make_shared<Look>();
        // Decoding a large photo or a PDF page takes a while: off the main thread.
        platform().tasks().run([path, pixels, result] { *result = lookOf(path, pixels); },
                               [this, alive = std::weak_ptr<bool>(m_alive), generation, result] {
                                   if (alive.expired() || generation != m_generation)
                                       return;
                                   m_look = *result;
                                   m_loaded = true;
                                   update();
                               });
    }

    QStringList m_paths;
    int m_index = 0;
    Look m_look;
    bool m_loaded = false;
    int m_generation = 0;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

WindowFilePreview::WindowFilePreview() = default;
WindowFilePreview::~WindowFilePreview() = default;

bool WindowFilePreview::isVisible() const
{
    return m_window && m_window->isVisible();
}

void WindowFilePreview::show(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    if (!m_window)
        m_window = std::make_unique<PreviewWindow>();
    m_window->showFiles(paths);
}

void WindowFilePreview::hide()
{
    if (m_window)
        m_window->hide();
}

} // namespace quillon::platform::linux_
