#include "shelf/ZipArchive.h"

#include "shelf/ShelfStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <zip.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace quillon {

namespace {

constexpr zip_uint32_t unixAttributes(mode_t mode)
{
    return zip_uint32_t(mode) << 16;
}

bool readable(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

void setAttributes(zip_t* archive, zip_int64_t index, const struct stat& info)
{
    zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                     unixAttributes(info.st_mode));
    zip_file_set_mtime(archive, zip_uint64_t(index), info.st_mtime, 0);
}

/// Adds `path` as `name`; a folder with everything below it. Entries that
/// cannot be read are left out, as a copy would skip them.
void add(zip_t* archive, const fs::path& path, const std::string& name)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return;
    if (S_ISLNK(info.st_mode)) {
        std::error_code error;
        const std::string target = fs::read_symlink(path, error).native();
        if (error)
            return;
        // libzip frees the copy once the archive is written.
        void* copy = std::malloc(target.size() + 1);
        if (!copy)
            return;
        std::memcpy(copy, target.data(), target.size());
        zip_source_t* source = zip_source_buffer(archive, copy, target.size(), 1);
        if (!source) {
            std::free(copy);
            return;
        }
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return;
        }
        setAttributes(archive, index, info);
    } else if (S_ISDIR(info.st_mode)) {
        const zip_int64_t index = zip_dir_add(archive, name.c_str(), ZIP_FL_ENC_UTF_8);
        if (index < 0)
            return;
        setAttributes(archive, index, info);
        std::error_code error;
        std::vector<fs::path> children;
        for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
            children.push_back(it->path());
        std::sort(children.begin(), children.end());
        for (const fs::path& child : children)
            add(archive, child, name + '/' + child.filename().native());
    } else if (S_ISREG(info.st_mode)) {
        if (!readable(path))
            return;
        zip_source_t* source = zip_source_file(archive, path.c_str(), 0, -1);
        if (!source)
            return;
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return;
        }
        setAttributes(archive, index, info);
    }
}

} // namespace

bool ZipArchive::create(const QString& archivePath, const QStringList& inputs, QString& error)
{
    int openError = 0;
    zip_t* archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_CREATE | ZIP_EXCL, &openError);
    if (!archive) {
        zip_error_t details;
        zip_error_init_with_code(&details, openError);
        error = QString::fromUtf8(zip_error_strerror(&details));
        zip_error_fini(&details);
        return false;
    }
    QSet<QString> taken;
    for (const QString& input : inputs) {
        const QString base = QFileInfo(input).fileName();
        if (base.isEmpty())
            continue;
        QString name = base;
        for (int counter = 2; taken.contains(name); ++counter)
            name = ShelfStore::numberedName(base, counter);
        taken.insert(name);
        add(archive, fs::path(QFile::encodeName(input).toStdString()), name.toStdString());
    }
    if (zip_get_num_entries(archive, 0) == 0) {
        zip_discard(archive);
        error = QStringLiteral("no input could be read");
        return false;
    }
    if (zip_close(archive) != 0) {
        error = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace quillon
