#include "memo/MemoList.h"
#include "memo/HeadlessMemoView.h"

#include "MemoRecordPrinter.h"
#include "TestEnvironment.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct MemoListFixture : testing::Test {
    QDateTime now{QDate(2007, 3, 1), QTime(14, 5, 9)};
    HeadlessMemoView view;
    MemoList list{view, [this] { return now; }};
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

TEST_F(MemoListFixture, UnreadableFileIsReportedAndNotOverwritten) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    testsupport::writeFile(path, "Title:x\r\n\r\nsecret");
    QFile::setPermissions(path, QFile::WriteOwner);
    ASSERT_FALSE(list.setFileName(path));
    EXPECT_TRUE(list.Load().has_value());
    EXPECT_FALSE(list.Save().has_value()); // nothing loaded, nothing written
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(testsupport::readFile(path), QByteArray("Title:x\r\n\r\nsecret"));
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
    EXPECT_EQ(list.memos()[0], (MemoRecord{"a", "2008-04-02", "a edited", 3}));
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
    QObject::connect(&list, &MemoList::BeforeDelete, [&](int& index, bool& cancel) {
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
    HeadlessMemoView otherView;
    MemoList other(otherView);
    ASSERT_FALSE(other.setFileName(path));
    ASSERT_FALSE(other.Load());
    ASSERT_EQ(other.MemoCount(), 2);
    EXPECT_EQ(other.memos()[0], (MemoRecord{"a", "2007/03/01", ".\r\nnew text", 0}));
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
    std::optional<MemoFileError> error;
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
    EXPECT_EQ(list.memos()[0], MemoRecord{});
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
