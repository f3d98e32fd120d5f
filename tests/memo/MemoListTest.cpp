#include "memo/MemoList.h"
#include "memo/HeadlessMemoView.h"

#include "MemoRecordPrinter.h"
#include "TestEnvironment.h"
#include "platform/AppPaths.h"
#include "platform/FileFaults.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <utime.h>

namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct MemoListFixture : testing::Test {
    QDateTime now{QDate(2007, 3, 1), QTime(14, 5, 9)};
    memo::HeadlessMemoView view;
    memo::MemoList list{view, [this] { return now; }};
    QString path = testsupport::freshFolder() + "/memo.txt";

    // Loads a file of memos titled by the given texts (title = text).
    void loadMemos(std::initializer_list<const char*> texts) {
        QString file;
        for (const char* text : texts) {
            if (!file.isEmpty())
                file += "\r\n.\r\n";
            file += QStringLiteral("Title:%1\r\nLast-Modified:old\r\nCursorPos:0\r\n\r\n%1")
                        .arg(q(text));
        }
        testsupport::writeFile(path, file.toUtf8());
        ASSERT_FALSE(list.setFileName(path));
        ASSERT_FALSE(list.Load());
    }
};

} // namespace

TEST_F(MemoListFixture, FirstLoadShowsMemoOne) {
    loadMemos({"a", "b", "c"});
    EXPECT_EQ(list.MemoCount(), 3);
    EXPECT_EQ(list.MemoIndex(), 1);
    EXPECT_EQ(view.text(), q("a"));
    EXPECT_EQ(view.titles(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(view.selectedTitleRow(), 0);
    EXPECT_EQ(view.counter(), q("1/3"));
    EXPECT_FALSE(view.previousEnabled());
    EXPECT_TRUE(view.nextEnabled());
}

TEST_F(MemoListFixture, MissingFileGivesOneEmptyMemo) {
    ASSERT_FALSE(list.setFileName(path));
    ASSERT_FALSE(list.Load());
    EXPECT_EQ(list.MemoCount(), 1);
    EXPECT_EQ(view.counter(), q("1/1"));
    EXPECT_EQ(view.titles(), QStringList({""}));
}

// A memo file that cannot be read closes the pane to typing: nothing is filed that could not be
// saved, and the file is never replaced. Both failures happen for root too.
TEST_F(MemoListFixture, UnreadableFileClosesThePane) {
    const struct {
        const char* name;
        int number;
        bool folder;
    } rows[] = {{"refused", 70, false}, {"folder", 75, true}};
    for (const auto& row : rows) {
        path = testsupport::freshFolder() + "/memo.txt";
        if (row.folder)
            QDir().mkpath(path);
        else
            testsupport::writeFile(path, "Title:x\r\n\r\nsecret");
        platform::injectFileFault(path, platform::FileStep::Read, EACCES);
        ASSERT_FALSE(list.setFileName(path));
        const auto error = list.Load();
        platform::clearFileFaults();
        ASSERT_TRUE(error.has_value()) << row.name;
        EXPECT_EQ(error->number, row.number) << row.name;
        EXPECT_FALSE(view.writable()) << row.name;
        EXPECT_TRUE(view.notWritableReason().contains(error->description)) << row.name;
        EXPECT_EQ(list.MemoCount(), 0) << row.name;
        EXPECT_FALSE(list.AddMessage("lost?")) << row.name;
        const auto saved = list.Save();
        ASSERT_TRUE(saved.has_value()) << row.name;
        EXPECT_EQ(saved->number, row.number) << row.name;
        if (!row.folder) {
            EXPECT_EQ(testsupport::readFile(path), QByteArray("Title:x\r\n\r\nsecret"));
        }
    }
    // A readable file opens the pane again.
    path = testsupport::freshFolder() + "/memo.txt";
    ASSERT_FALSE(list.setFileName(path));
    ASSERT_FALSE(list.Load());
    EXPECT_TRUE(view.writable());
    EXPECT_TRUE(list.AddMessage("kept"));
}

TEST_F(MemoListFixture, ListIsNotWrittenOverAFileItDidNotRead) {
    loadMemos({"a"});
    const QString other = testsupport::freshFolder() + "/other.txt";
    testsupport::writeFile(other, "precious");
    ASSERT_FALSE(list.setFileName(other));
    EXPECT_TRUE(list.Save().has_value());
    EXPECT_EQ(testsupport::readFile(other), QByteArray("precious"));
}

TEST_F(MemoListFixture, FileNameNeedsAnExistingFolder) {
    ASSERT_FALSE(list.setFileName(path));
    const auto error = list.setFileName(testsupport::freshFolder() + "/missing/memo.txt");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, 53);
    EXPECT_EQ(list.FileName(), path);
    EXPECT_FALSE(list.setFileName("bare.txt"));
}

TEST_F(MemoListFixture, MemoIndexIsClamped) {
    loadMemos({"a", "b", "c"});
    const std::pair<int, int> rows[] = {{2, 2}, {0, 1}, {-5, 1}, {9, 3}, {3, 3}, {1, 1}};
    for (const auto& [set, expected] : rows) {
        list.setMemoIndex(set);
        EXPECT_EQ(list.MemoIndex(), expected) << set;
        EXPECT_EQ(view.text(), list.memos()[expected - 1].Text) << set;
    }
}

TEST_F(MemoListFixture, SwitchingSavesTheViewBackWithAFreshStamp) {
    loadMemos({"a", "b"});
    view.setText("a edited");
    view.setCaretPosition(3);
    now = QDateTime(QDate(2008, 4, 2), QTime(1, 2, 3));
    ASSERT_TRUE(list.MoveNextMemo());
    EXPECT_EQ(list.memos()[0], (memo::MemoRecord{"a", "2008-04-02", "a edited", 3}));
    ASSERT_TRUE(list.MovePrevMemo());
    EXPECT_EQ(view.text(), q("a edited"));
    EXPECT_EQ(view.caretPosition(), 3);
    // Switching away without typing still restamps the memo.
    EXPECT_EQ(list.memos()[1].LastModified, q("2008-04-02"));
}

TEST_F(MemoListFixture, ClearedTitleTakesTheFirstNonEmptyLine) {
    loadMemos({"a", "b"});
    view.setTitleText("");
    view.setText("\r\nfirst line\r\nsecond");
    list.MoveNextMemo();
    EXPECT_EQ(list.memos()[0].Title, q("first line"));
}

TEST_F(MemoListFixture, UntitledNewMemoShowsItsFirstLineAsTitleOnceCollected) {
    loadMemos({"a"});
    list.CreateNewMemo();
    view.setText(q("\r\n「買い物」★ 牛乳、卵…\r\n２行目"));
    ASSERT_FALSE(list.Save());
    EXPECT_EQ(view.titleText(), q("「買い物」★ 牛乳、卵…"));
    list.CreateNewMemo();
    view.setText(q("한국어 메모 🙂"));
    list.MovePrevMemo();
    EXPECT_EQ(view.titles(),
              QStringList({"a", q("「買い物」★ 牛乳、卵…"), q("한국어 메모 🙂")}));
    // A title the user typed stays as typed.
    view.setTitleText(q("ｶﾀｶﾅの題"));
    list.MoveNextMemo();
    EXPECT_EQ(view.titles()[1], q("ｶﾀｶﾅの題"));
}

TEST_F(MemoListFixture, TitleComesFromTheListWhenAnotherEntryIsSelected) {
    loadMemos({"a", "b"});
    view.setTitleAt(0, "renamed");
    view.selectTitleRow(1);
    view.setTitleText("typed");
    list.MoveNextMemo();
    EXPECT_EQ(list.memos()[0].Title, q("renamed"));
}

TEST_F(MemoListFixture, MoveAtTheEndsReturnsFalseAndChangesNothing) {
    loadMemos({"a", "b"});
    view.setText("unsaved");
    EXPECT_FALSE(list.MovePrevMemo());
    EXPECT_EQ(list.memos()[0].Text, q("a"));
    EXPECT_EQ(view.text(), q("unsaved"));
    list.setMemoIndex(2);
    EXPECT_FALSE(list.MoveNextMemo());
    EXPECT_EQ(list.MemoIndex(), 2);
}

TEST_F(MemoListFixture, CreateNewMemoAppendsAndShowsIt) {
    loadMemos({"a"});
    view.setText("typed");
    EXPECT_TRUE(list.CreateNewMemo());
    EXPECT_EQ(list.MemoCount(), 2);
    EXPECT_EQ(list.MemoIndex(), 2);
    EXPECT_EQ(list.memos()[0].Text, q("typed"));
    EXPECT_EQ(view.text(), q(""));
    EXPECT_EQ(view.titles(), QStringList({"a", ""}));
    EXPECT_EQ(view.counter(), q("2/2"));
}

struct DeleteCase {
    const char* name;
    friend void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }
    int count;
    int current;
    int deleted;
    int expectedIndex;
    const char* expectedView; // text shown afterwards
    QStringList expectedTitles;
    const char* expectedCounter;
};

class MemoListDelete : public MemoListFixture, public testing::WithParamInterface<DeleteCase> {};

TEST_P(MemoListDelete, KeepsTheCurrentMemoRule) {
    const DeleteCase& c = GetParam();
    const char* names[] = {"m1", "m2", "m3"};
    if (c.count == 1)
        loadMemos({names[0]});
    else
        loadMemos({names[0], names[1], names[2]});
    list.setMemoIndex(c.current);
    view.setText(view.text() + " (unsaved)");
    list.DeleteMemo(c.deleted);
    EXPECT_EQ(list.MemoIndex(), c.expectedIndex);
    EXPECT_EQ(view.text(), q(c.expectedView));
    EXPECT_EQ(view.titles(), c.expectedTitles);
    EXPECT_EQ(view.counter(), q(c.expectedCounter));
    EXPECT_EQ(list.MemoCount(), int(c.expectedTitles.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MemoListDelete,
    testing::Values(
        DeleteCase{"OnlyMemoLeavesOneEmpty", 1, 1, 1, 1, "", {""}, "1/1"},
        DeleteCase{"LastWhileCurrent", 3, 3, 3, 2, "m2", {"m1", "m2"}, "2/2"},
        DeleteCase{"MiddleWhileCurrent", 3, 2, 2, 2, "m3", {"m1", "m3"}, "2/2"},
        DeleteCase{"BeforeCurrentKeepsView", 3, 3, 1, 2, "m3 (unsaved)", {"m2", "m3"}, "2/2"},
        DeleteCase{"AfterCurrentKeepsView", 3, 1, 3, 1, "m1 (unsaved)", {"m1", "m2"}, "1/2"},
        DeleteCase{"OutOfRangeDoesNothing", 3, 2, 4, 2, "m2 (unsaved)", {"m1", "m2", "m3"}, "2/3"},
        DeleteCase{"ZeroDoesNothing", 3, 2, 0, 2, "m2 (unsaved)", {"m1", "m2", "m3"}, "2/3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MemoListFixture, DeletingBeforeTheCurrentMemoKeepsItsUnsavedTextForTheSaveBack) {
    loadMemos({"m1", "m2", "m3"});
    list.setMemoIndex(3);
    view.setText("m3 edited");
    list.DeleteMemo(1);
    list.MovePrevMemo();
    EXPECT_EQ(list.memos()[1].Text, q("m3 edited"));
}

TEST_F(MemoListFixture, DeleteActiveMemoAsksFirst) {
    loadMemos({"a", "b"});
    int askedFor = 0;
    bool answerCancel = true;
    QObject::connect(&list, &memo::MemoList::BeforeDelete, [&](int& index, bool& cancel) {
        askedFor = index;
        cancel = answerCancel;
    });
    EXPECT_FALSE(list.DeleteActiveMemo());
    EXPECT_EQ(askedFor, 1);
    EXPECT_EQ(list.MemoCount(), 2);
    answerCancel = false;
    EXPECT_FALSE(list.DeleteActiveMemo());
    EXPECT_EQ(list.MemoCount(), 1);
    EXPECT_EQ(view.text(), q("b"));
}

TEST_F(MemoListFixture, AddMessageAppendsAStampedLineAndPutsTheCaretAfterIt) {
    loadMemos({"note"});
    list.AddMessage("hello");
    const QString expected = q("note[2007/03/01 14:05:09] hello\r\n");
    EXPECT_EQ(list.memos()[0].Text, expected);
    EXPECT_EQ(list.memos()[0].CursorPos, expected.size());
    EXPECT_EQ(list.memos()[0].LastModified, q("2007-03-01"));
    EXPECT_EQ(view.text(), expected);
    EXPECT_EQ(view.caretPosition(), expected.size());
}

TEST_F(MemoListFixture, AddMessageToAnotherMemoLeavesTheViewAlone) {
    loadMemos({"a", "b"});
    view.setText("a typed");
    list.AddMessage("x", 2);
    EXPECT_EQ(view.text(), q("a typed"));
    EXPECT_TRUE(list.memos()[1].Text.endsWith("] x\r\n"));
    list.AddMessage("y", 7); // no such memo
    EXPECT_EQ(list.MemoCount(), 2);
    list.MoveNextMemo();
    EXPECT_EQ(list.memos()[0].Text, q("a typed"));
    EXPECT_TRUE(view.text().endsWith("] x\r\n"));
}

TEST_F(MemoListFixture, SaveWritesTheViewAndTheWholeList) {
    loadMemos({"a", "b"});
    list.setDateFormat("yyyy/mm/dd");
    view.setText(".\r\nnew text");
    ASSERT_FALSE(list.Save());
    memo::HeadlessMemoView otherView;
    memo::MemoList other(otherView);
    ASSERT_FALSE(other.setFileName(path));
    ASSERT_FALSE(other.Load());
    ASSERT_EQ(other.MemoCount(), 2);
    EXPECT_EQ(other.memos()[0], (memo::MemoRecord{"a", "2007/03/01", ".\r\nnew text", 0}));
    EXPECT_EQ(other.memos()[1].Text, q("b"));
}

TEST_F(MemoListFixture, SaveBeforeLoadWritesNothing) {
    ASSERT_FALSE(list.setFileName(path));
    EXPECT_FALSE(list.Save());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(MemoListFixture, FailedSaveIsReportedAndKeepsTheFile) {
    loadMemos({"a"});
    const QByteArray before = testsupport::readFile(path);
    view.setText(QString(10000, u'x'));
    std::optional<memo::MemoFileError> error;
    {
        testsupport::FileSizeLimit limit(100);
        error = list.Save();
    }
    EXPECT_TRUE(error.has_value());
    EXPECT_EQ(testsupport::readFile(path), before);
}

TEST_F(MemoListFixture, ReloadAfterNewFileNameStartsAtMemoOneWithoutSavingBack) {
    loadMemos({"a", "b"});
    list.setMemoIndex(2);
    const QString other = testsupport::freshFolder() + "/other.txt";
    testsupport::writeFile(other, "Title:x\r\n\r\nx-text");
    list.setMemoIndex(1);
    ASSERT_FALSE(list.setFileName(other));
    ASSERT_FALSE(list.Load());
    EXPECT_EQ(list.MemoCount(), 1);
    EXPECT_EQ(view.text(), q("x-text"));
    EXPECT_EQ(view.titles(), QStringList({"x"}));
}

TEST_F(MemoListFixture, ReloadOfAnEmptiedFileKeepsNothingOfTheOldList) {
    loadMemos({"a", "b", "c"});
    list.setMemoIndex(3);
    QFile::remove(path);
    ASSERT_FALSE(list.Load());
    EXPECT_EQ(list.MemoCount(), 1);
    EXPECT_EQ(list.MemoIndex(), 1);
    EXPECT_EQ(list.memos()[0], memo::MemoRecord{});
}

TEST_F(MemoListFixture, SaveKeepsTheEncodingTheFileWasReadIn) {
    testsupport::writeFile(path, QString::fromUtf8("Title:メモ\r\n\r\n本文").toUtf8());
    ASSERT_FALSE(list.setFileName(path));
    ASSERT_FALSE(list.Load());
    list.AddMessage(QString::fromUtf8("追記"));
    ASSERT_FALSE(list.Save());
    EXPECT_EQ(QString::fromUtf8(testsupport::readFile(path)),
              QString::fromUtf8("Title:メモ\r\nLast-Modified:2007-03-01\r\nCursorPos:28\r\n\r\n"
                                "本文[2007/03/01 14:05:09] 追記\r\n"));
}

namespace {

// Records the boxes shown while alive.
struct BoxRecorder {
    QStringList texts;
    platform::MessageBoxHandler previous =
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
            texts.append(r.text);
            return int(platform::mb::OK);
        });
    ~BoxRecorder() { platform::setMessageBoxHandler(previous); }
};

QStringList filesBeside(const QString& path) {
    return QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files, QDir::Name);
}

const QByteArray kTheirs = "Title:theirs\r\nLast-Modified:x\r\nCursorPos:0\r\n\r\nedited elsewhere";

} // namespace

// Before each save the file is compared with what was read. What another program wrote is taken
// over when nothing changed here, and kept as a dated copy when both sides changed.
TEST_F(MemoListFixture, ChangesMadeOutsideAreNeverLost) {
    enum class Outside { Edited, Touched, Deleted };
    const struct {
        const char* name;
        Outside outside;
        bool editHere;
        QString copyName; // "" when no copy is expected
        QString fileText; // the memo text in the file afterwards
    } rows[] = {
        {"theirsonly", Outside::Edited, false, "", "edited elsewhere"},
        {"both", Outside::Edited, true, "memo.outside-20070301-140509.txt", "mine"},
        {"touchedonly", Outside::Touched, true, "", "mine"},
        {"deleted", Outside::Deleted, true, "", "mine"},
    };
    for (const auto& row : rows) {
        path = testsupport::freshFolder() + "/memo.txt";
        loadMemos({"a"});
        if (row.editHere)
            view.setText("mine");
        switch (row.outside) {
        case Outside::Edited:
            testsupport::writeFile(path, kTheirs);
            break;
        case Outside::Touched: {
            struct utimbuf times {
                1000000, 1000000
            };
            ::utime(QFile::encodeName(path).constData(), &times);
            break;
        }
        case Outside::Deleted:
            QFile::remove(path);
            break;
        }
        BoxRecorder boxes;
        ASSERT_FALSE(list.Save()) << row.name;
        EXPECT_TRUE(memo::ReadMemoFile(path).memos.value(0).Text == row.fileText) << row.name;
        EXPECT_EQ(view.text(), row.fileText) << row.name;
        if (row.copyName.isEmpty()) {
            EXPECT_EQ(filesBeside(path), QStringList{"memo.txt"}) << row.name;
            EXPECT_TRUE(boxes.texts.isEmpty()) << row.name;
        } else {
            EXPECT_EQ(filesBeside(path), QStringList({row.copyName, "memo.txt"})) << row.name;
            EXPECT_EQ(testsupport::readFile(QFileInfo(path).absolutePath() + "/" + row.copyName),
                      kTheirs);
            ASSERT_EQ(boxes.texts.size(), 1) << row.name;
            EXPECT_TRUE(boxes.texts[0].contains(row.copyName)) << row.name;
        }
        // The next save finds nothing new outside.
        ASSERT_FALSE(list.Save()) << row.name;
        EXPECT_EQ(boxes.texts.size(), row.copyName.isEmpty() ? 0 : 1) << row.name;
    }
}

// A log line filed while another program changed the file joins that program's memos.
TEST_F(MemoListFixture, LogLineJoinsChangesMadeOutside) {
    loadMemos({"a"});
    testsupport::writeFile(path, kTheirs);
    ASSERT_TRUE(list.AddMessage("hello"));
    ASSERT_FALSE(list.Save());
    EXPECT_EQ(memo::ReadMemoFile(path).memos.value(0).Text,
              q("edited elsewhere[2007/03/01 14:05:09] hello\r\n"));
    EXPECT_EQ(filesBeside(path), QStringList{"memo.txt"});
}

// A file that is neither UTF-8 nor CP932 (Latin-1) is kept as it was before the first save
// changes its bytes, and the user is told once.
TEST_F(MemoListFixture, UndecodableFileIsKeptBeforeTheFirstSave) {
    const QByteArray latin1 = "Title:caf\xe9\r\n\r\nna\xefve cr\xe8me";
    testsupport::writeFile(path, latin1);
    ASSERT_FALSE(list.setFileName(path));
    ASSERT_FALSE(list.Load());
    BoxRecorder boxes;
    ASSERT_TRUE(list.AddMessage(q("メモ")));
    ASSERT_FALSE(list.Save());
    const QString copy = QFileInfo(path).absolutePath() + "/memo.original-20070301-140509.txt";
    EXPECT_EQ(testsupport::readFile(copy), latin1);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].contains(copy));
    EXPECT_FALSE(testsupport::readFile(path).contains('?'));
    ASSERT_FALSE(list.Save());
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(filesBeside(path).size(), 2);
}

// A name starting with "~/" is in the home folder.
TEST(MemoFilePath, HomeFolderAndRelativeNames) {
    EXPECT_EQ(platform::memoFilePath("~/notes/memo.txt"), QDir::homePath() + "/notes/memo.txt");
    EXPECT_EQ(platform::memoFilePath("/abs/memo.txt"), QStringLiteral("/abs/memo.txt"));
    EXPECT_EQ(platform::memoFilePath("memo.txt"), platform::AppPath() + "memo.txt");
    EXPECT_EQ(platform::memoFilePath(""), platform::defaultMemoFilePath());
}
