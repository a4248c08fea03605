#pragma once

#include "platform/FilePromises.h"

#include <QFile>

#include <thread>

namespace quillon::fakes {

/// A drag source's promise: once asked, each file reports from a thread of
/// its own when the test lets it.
class FakePromiseReceiver final : public platform::FilePromiseReceiver {
public:
    struct File {
        QString name;
        QByteArray content;
        /// Set for a file that fails.
        std::optional<QString> error;
    };

    QStringList fileTypes() const override { return types; }
    QStringList fileNames() const override { return names; }
    void receive(const QString& into, Reader report) override
    {
        folder = into;
        reader = std::move(report);
    }

    /// Writes (or fails) these files, each on a thread of its own, all at
    /// once, and waits for the threads.
    void deliver(std::initializer_list<int> indices)
    {
        std::vector<std::thread> threads;
        for (int index : indices)
            threads.emplace_back([this, index] { report(files[size_t(index)]); });
        for (std::thread& thread : threads)
            thread.join();
    }
    bool asked() const { return reader != nullptr; }

    QStringList types;
    QStringList names;
    std::vector<File> files;
    QString folder;
    Reader reader;

private:
    void report(const File& file)
    {
        const QString path = folder + QLatin1Char('/') + file.name;
        if (!file.error) {
            QFile out(path);
            if (out.open(QIODevice::WriteOnly))
                out.write(file.content);
        }
        reader(path, file.error);
    }
};

/// The receivers the next drop gets.
class FakeFilePromises final : public platform::FilePromises {
public:
    QStringList readableTypes() const override { return {QStringLiteral("XdndDirectSave0")}; }
    std::vector<std::shared_ptr<platform::FilePromiseReceiver>> receivers(const QMimeData&) override
    {
        return next;
    }
    std::vector<std::shared_ptr<platform::FilePromiseReceiver>> next;
};

} // namespace quillon::fakes
