#include "platform/linux/ClipboardFileManagerSelection.h"

#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::linux_::ClipboardFileManagerSelection;

TEST(ClipboardFileManagerSelection, TheFilesCopiedInTheFrontFileManager)
{
    fakes::FakePlatform fake;
    ClipboardFileManagerSelection selection;
    const QList<QUrl> copied{QUrl::fromLocalFile("/home/u/a.txt"), QUrl::fromLocalFile("/home/u/b c.png")};
    fake.pasteboardImpl.writeFileURLs(copied, false);
    std::vector<platform::FileManagerSelection::Answer> answers;
    const auto read = [&] {
        selection.read([&](const platform::FileManagerSelection::Answer& answer) { answers.push_back(answer); });
        fake.queue.drain();
    };

    // Another app in front: no selection, and the clipboard is not read.
    platform::RunningApp editor;
    editor.pid = 3;
    editor.appId = "org.gnome.TextEditor";
    editor.active = true;
    fake.workspaceImpl.apps = {editor};
    EXPECT_FALSE(selection.isFrontmost());
    read();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(answers.back().files.isEmpty());
    EXPECT_FALSE(answers.back().error);
    EXPECT_EQ(fake.pasteboardImpl.reads, 0);

    // The default file manager in front: its copied files.
    platform::RunningApp files = editor;
    files.appId = fake.appDirectoryImpl.fileManager;
    fake.workspaceImpl.apps = {files};
    EXPECT_TRUE(selection.isFrontmost());
    read();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers.back().files, copied);

    // Text on the clipboard: nothing picked.
    fake.pasteboardImpl.writeString("words");
    read();
    EXPECT_TRUE(answers.back().files.isEmpty());
    EXPECT_FALSE(answers.back().error);

    // An owner that never answers: the reason.
    fake.pasteboardImpl.clear();
    read();
    EXPECT_TRUE(answers.back().files.isEmpty());
    EXPECT_EQ(answers.back().error, QString("the clipboard did not answer"));

    // No default file manager known: never in front.
    fake.appDirectoryImpl.fileManager.clear();
    EXPECT_FALSE(selection.isFrontmost());
}

} // namespace
} // namespace quillon
