#include "support/CrashReporter.h"

#include "platform/Platform.h"
#include "support/FileLog.h"
#include "support/Log.h"

#include <QStringList>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <exception>
#include <execinfo.h>
#include <iterator>
#include <optional>
#include <typeinfo>
#include <unistd.h>

namespace quillon {

namespace {

// Everything the signal handler touches is prepared by install(): the handler
// may only make async-signal-safe calls, so it opens nothing, allocates
// nothing and asks nobody for text (strsignal is not safe there).
constexpr int kHandledSignals[] = {SIGILL, SIGTRAP, SIGABRT, SIGSEGV, SIGBUS, SIGFPE};
constexpr int kSignalCount = int(std::size(kHandledSignals));
constexpr int kDescriptionSize = 64;
constexpr int kMaxFrames = 64;

bool g_installed = false;
char g_breadcrumb[CrashReporter::breadcrumbCapacity] = {};
volatile sig_atomic_t g_breadcrumbLength = 0;
int g_logDescriptor = -1;
char g_descriptions[kSignalCount][kDescriptionSize] = {};
std::terminate_handler g_previousTerminate = nullptr;

void writeBytes(const char* bytes, size_t length)
{
    if (length == 0)
        return;
    [[maybe_unused]] const ssize_t n = ::write(g_logDescriptor, bytes, length);
}

void writeText(const char* text) { writeBytes(text, std::strlen(text)); }

void writeNumber(int value)
{
    if (value < 0)
        return;
    char digits[12];
    int at = int(sizeof digits);
    do {
        digits[--at] = char('0' + value % 10);
        value /= 10;
    } while (value > 0 && at > 0);
    writeBytes(digits + at, sizeof digits - size_t(at));
}

const char* description(int signal)
{
    for (int i = 0; i < kSignalCount; ++i) {
        if (kHandledSignals[i] == signal)
            return g_descriptions[i];
    }
    return "";
}

void handleSignal(int signal, siginfo_t*, void*)
{
    if (g_logDescriptor >= 0) {
        writeText("\n=== CRASH signal ");
        writeNumber(signal);
        writeText(" (");
        writeText(description(signal));
        writeText(") ===\n");
        const int length = g_breadcrumbLength;
        if (length >= 1) {
            writeText("last: ");
            writeBytes(g_breadcrumb, size_t(length));
            writeText("\n");
        }
        void* frames[kMaxFrames];
        const int count = backtrace(frames, kMaxFrames);
        backtrace_symbols_fd(frames, count, g_logDescriptor);
        writeText("=== end crash ===\n");
        ::fsync(g_logDescriptor);
    }
    // The default action follows once the handler returns: the signal stays
    // blocked until then, so the process still dies by this very signal.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

QString demangled(const char* name)
{
    int status = 0;
    char* readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    const QString text = QString::fromUtf8(status == 0 && readable ? readable : name);
    std::free(readable);
    return text;
}

// Name and reason of the exception in flight, when there is one.
bool currentException(QString& name, std::optional<QString>& reason)
{
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return false;
    const std::type_info* type = abi::__cxa_current_exception_type();
    name = type ? demangled(type->name()) : QStringLiteral("unknown");
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& e) {
        if (e.what() && *e.what())
            reason = QString::fromUtf8(e.what());
    } catch (...) {
    }
    return true;
}

QStringList callStack()
{
    void* frames[kMaxFrames];
    const int count = backtrace(frames, kMaxFrames);
    QStringList lines;
    if (char** symbols = backtrace_symbols(frames, count)) {
        for (int i = 0; i < count; ++i)
            lines << QString::fromUtf8(symbols[i]);
        std::free(symbols);
    }
    return lines;
}

void writeExceptionReport(const QString& name, const std::optional<QString>& reason)
{
    QString block = QStringLiteral("\n=== CRASH exception ") + name + QStringLiteral(" ===\n");
    const QString last = QString::fromUtf8(g_breadcrumb);
    if (!last.isEmpty())
        block += QStringLiteral("last: ") + last + QLatin1Char('\n');
    block += QStringLiteral("reason: ") + reason.value_or(QStringLiteral("(none)")) + QLatin1Char('\n');
    block += callStack().join(QLatin1Char('\n'));
    block += QStringLiteral("\n=== end crash ===\n");
    // Both writes need the platform's folders and log; a crash after it is gone
    // still reaches the signal block of the abort below.
    if (!platform::hasPlatform())
        return;
    FileLog::appendRaw(block);
    Log::error(QStringLiteral("Uncaught exception: %1 \u2014 %2").arg(name, reason.value_or(QString())));
}

void onTerminate()
{
    QString name;
    std::optional<QString> reason;
    if (currentException(name, reason))
        writeExceptionReport(name, reason);
    // The runtime's own handler reports to stderr and aborts, which raises the
    // SIGABRT that leaves the signal block.
    if (g_previousTerminate)
        g_previousTerminate();
    std::abort();
}

} // namespace

void CrashReporter::install()
{
    if (g_installed)
        return;
    g_installed = true;
    g_breadcrumb[0] = '\0';

    g_logDescriptor = FileLog::openForCrashWriting();

    // backtrace() loads the unwinder on its first call, which allocates: do
    // that now rather than inside a handler.
    void* frames[kMaxFrames];
    backtrace(frames, kMaxFrames);
    for (int i = 0; i < kSignalCount; ++i) {
        if (const char* text = ::strsignal(kHandledSignals[i])) {
            std::strncpy(g_descriptions[i], text, kDescriptionSize - 1);
            g_descriptions[i][kDescriptionSize - 1] = '\0';
        }
    }

    g_previousTerminate = std::set_terminate(onTerminate);

    // An exhausted stack leaves no room for the handler: it runs on a stack of
    // its own (the main thread's, which is the one that installs), kept for
    // the life of the process.
    alignas(16) static char alternateStack[alternateStackSize];
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = alternateStackSize;
    stack.ss_flags = 0;
    ::sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK | SA_SIGINFO;
    for (const int signal : kHandledSignals)
        ::sigaction(signal, &action, nullptr);
}

void CrashReporter::breadcrumb(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const int length = int(std::min<qsizetype>(bytes.size(), breadcrumbCapacity - 1));
    // Shorten first, so a crash during the copy never reads past the bytes
    // already in place.
    if (length < g_breadcrumbLength)
        g_breadcrumbLength = length;
    std::memcpy(g_breadcrumb, bytes.constData(), size_t(length));
    g_breadcrumb[length] = '\0';
    g_breadcrumbLength = length;
    Log::debug([&] { return QStringLiteral("\u00b7 ") + text; });
}

} // namespace quillon
