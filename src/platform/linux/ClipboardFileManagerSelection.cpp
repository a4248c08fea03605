#include "platform/linux/ClipboardFileManagerSelection.h"

#include "platform/Platform.h"
#include "platform/UriList.h"

namespace quillon::platform::linux_ {

bool ClipboardFileManagerSelection::isFrontmost()
{
    const auto front = platform().workspace().frontmostApp();
    if (!front)
        return false;
    const QString manager = platform().appDirectory().defaultFileManager();
    return !manager.isEmpty() && front->appId == manager;
}

void ClipboardFileManagerSelection::read(std::function<void(Answer)> done)
{
    if (!isFrontmost()) {
        platform().mainQueue().post([done = std::move(done)] { done({}); });
        return;
    }
    const QString uriList = Pasteboard::uriListType;
    platform().pasteboard().read({uriList}, [uriList, done = std::move(done)](const PasteboardContents& contents) {
        Answer answer;
        if (contents.types.isEmpty())
            answer.error = QStringLiteral("the clipboard did not answer");
        else if (const auto text = contents.string(uriList))
            answer.files = localFilesOfUriList(text->toUtf8());
        done(answer);
    });
}

} // namespace quillon::platform::linux_
