#include "support/CrashReporter.h"
#include "fakes/FakePlatform.h"
#include "support/FileLog.h"

#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillon;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLON_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define QUILLON_SANITIZED 1
#endif
#endif

namespace {

// Ways to die, each kept opaque to the optimiser so the fault really happens.
int* volatile g_nowhere = nullptr;

void segfault() { *g_nowhere = 1; }

void busError(const QString& folder)
{
    const QByteArray path = (folder + "/empty-mapped").toUtf8();
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    auto* page = static_cast<volatile char*>(::mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0));
    [[maybe_unused]] char c = page[0]; // past the end of an empty file
}

__attribute__((noinline)) int recurse(int depth)
{
    volatile char pad[1024];
    pad[depth % 1024] = char(depth);
    if (depth < 0)
        return 0;
    return recurse(depth + 1) + pad[depth % 1024];
}

void overflowStack() { [[maybe_unused]] int r = recurse(0); }

class CrashReporterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef QUILLON_SANITIZED
        GTEST_SKIP() << "sanitizers own the fatal signals";
#endif
    }

    // Runs `body` in a child process that installs the reporter first; returns
    // the child's wait status.
    static int runChild(const std::function<void()>& body)
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, STDERR_FILENO); // the runtime's own terminate message
            CrashReporter::install();
            // Nothing may escape into the test framework, which would catch it
            // and carry on running tests in the child.
            [&]() noexcept { body(); }();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }

    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QByteArray signalHeader(int signal)
    {
        return "\n=== CRASH signal " + QByteArray::number(signal) + " (" + ::strsignal(signal) + ") ===\n";
    }

    fakes::FakePlatform fake;
};

TEST_F(CrashReporterTest, FatalSignalsLeaveOneCompleteBlockAndDieBySignal)
{
    struct Case {
        const char* name;
        int signal;
        std::function<void(const QString&)> crash;
    };
    const std::vector<Case> cases = {
        {"segv", SIGSEGV, [](const QString&) { segfault(); }},
        {"bus", SIGBUS, [](const QString& folder) { busError(folder); }},
        {"abort", SIGABRT, [](const QString&) { std::abort(); }},
        {"stack overflow", SIGSEGV, [](const QString&) { overflowStack(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(FileLog::filePath());
        const QString folder = fake.pathsImpl.tempDir();
        const int status = runChild([&] {
            CrashReporter::breadcrumb("converting photo.heic");
            c.crash(folder);
        });
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), c.signal);

        const QByteArray log = read(FileLog::filePath());
        EXPECT_EQ(log.count("=== CRASH"), 1) << log.toStdString();
        EXPECT_TRUE(log.startsWith(signalHeader(c.signal) + "last: converting photo.heic\n"))
            << log.toStdString();
        EXPECT_TRUE(log.endsWith("\n=== end crash ===\n")) << log.toStdString();
        EXPECT_GE(log.count('\n'), 5) << "the call stack is missing: " << log.toStdString();
    }
}

TEST_F(CrashReporterTest, BreadcrumbLine)
{
    struct Case {
        const char* name;
        std::optional<QString> breadcrumb;
        QByteArray expectedAfterHeader;
    };
    const std::vector<Case> cases = {
        {"never set", std::nullopt, ""},
        {"cut to 255 bytes", QString(300, 'a'), "last: " + QByteArray(255, 'a') + "\n"},
        {"the latest one", QStringLiteral("second"), "last: second\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(FileLog::filePath());
        const int status = runChild([&] {
            if (c.breadcrumb) {
                CrashReporter::breadcrumb("first");
                CrashReporter::breadcrumb(*c.breadcrumb);
            }
            segfault();
        });
        ASSERT_TRUE(WIFSIGNALED(status));
        const QByteArray log = read(FileLog::filePath());
        const QByteArray header = signalHeader(SIGSEGV);
        ASSERT_TRUE(log.startsWith(header)) << log.toStdString();
        const QByteArray rest = log.mid(header.size());
        if (c.expectedAfterHeader.isEmpty())
            EXPECT_FALSE(rest.contains("last: ")) << log.toStdString();
        else
            EXPECT_TRUE(rest.startsWith(c.expectedAfterHeader)) << log.toStdString();
    }
}

TEST_F(CrashReporterTest, UncaughtExceptionLeavesItsBlockThenTheAbortBlock)
{
    QFile::remove(FileLog::filePath());
    const int status = runChild([] {
        CrashReporter::breadcrumb("adding 3 files");
        throw std::runtime_error("disk vanished");
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGABRT);

    const QByteArray log = read(FileLog::filePath());
    EXPECT_TRUE(log.startsWith("\n=== CRASH exception std::runtime_error ===\nlast: adding 3 files\n"
                               "reason: disk vanished\n"))
        << log.toStdString();
    const qsizetype exceptionEnd = log.indexOf("\n=== end crash ===\n");
    ASSERT_GT(exceptionEnd, 0);
    const QByteArray abortBlock = log.mid(exceptionEnd + qsizetype(std::strlen("\n=== end crash ===\n")));
    EXPECT_TRUE(abortBlock.startsWith(signalHeader(SIGABRT) + "last: adding 3 files\n")) << log.toStdString();
    EXPECT_TRUE(abortBlock.endsWith("\n=== end crash ===\n")) << log.toStdString();
    EXPECT_EQ(log.count("=== CRASH"), 2);
}

TEST_F(CrashReporterTest, ExceptionWithoutReasonOrBreadcrumb)
{
    QFile::remove(FileLog::filePath());
    const int status = runChild([] { throw 42; });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGABRT);
    EXPECT_TRUE(read(FileLog::filePath()).startsWith("\n=== CRASH exception int ===\nreason: (none)\n"));
}

// The block goes through the descriptor opened at install: it lands in the
// file that was open then, even when that file has since been renamed.
TEST_F(CrashReporterTest, BlockLandsThroughTheDescriptorOpenedAtInstall)
{
    QFile::remove(FileLog::filePath());
    const QString moved = FileLog::directory() + "/moved.log";
    const int status = runChild([&] {
        CrashReporter::install(); // a second install opens nothing new
        ::rename(QFile::encodeName(FileLog::filePath()).constData(), QFile::encodeName(moved).constData());
        segfault();
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    EXPECT_FALSE(QFile::exists(FileLog::filePath()));
    const QByteArray log = read(moved);
    EXPECT_EQ(log.count("=== CRASH"), 1) << log.toStdString();
    EXPECT_TRUE(log.startsWith(signalHeader(SIGSEGV))) << log.toStdString();
}

} // namespace
