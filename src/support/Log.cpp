#include "support/Log.h"

#include "platform/Platform.h"
#include "support/FileLog.h"

namespace quillon {

namespace {
const QString kCategory = QStringLiteral("app");
}

void Log::writeDebug(const QString& message)
{
    platform::platform().systemLog().write(platform::LogLevel::Debug, kCategory, message);
    FileLog::append(message);
}

void Log::writeSession(const QString& text)
{
    platform::platform().systemLog().write(platform::LogLevel::Debug, kCategory, text);
    FileLog::appendSession(text);
}

void Log::info(const QString& message)
{
    platform::platform().systemLog().write(platform::LogLevel::Info, kCategory, message);
}

void Log::error(const QString& message)
{
    platform::platform().systemLog().write(platform::LogLevel::Error, kCategory, message);
}

} // namespace quillon
