#include "input/MRUSection.h"

#include "config/CIniFile.h"
#include "input/CMRUCombo.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace {

class ListCombo : public input::IHistoryComboBox {
public:
    QString value;
    QStringList list;
    QString text() const override { return value; }
    void setText(const QString& text) override { value = text; }
    int selectionStart() const override { return 0; }
    int selectionLength() const override { return 0; }
    void setSelection(int, int) override {}
    QStringList items() const override { return list; }
    void insertItem(int index, const QString& text) override { list.insert(index, text); }
    void removeItem(int index) override { list.removeAt(index); }
};

} // namespace

TEST(MRUSection, ReadsInFileOrderAndWritesNumberedKeys) {
    const QString path = testsupport::freshFolder() + "/scrivlet.ini";
    testsupport::writeFile(path, "[MRU]\r\n3=calc\r\n1=notepad\r\nx=\r\n7=NOTEPAD\r\n2=mail\r\n");
    config::CIniFile store;
    ASSERT_TRUE(store.Load(path));
    ListCombo combo;
    combo.value = "leftover";
    input::CMRUCombo history;
    history.setComboBox(&combo);
    history.setMax(3);
    input::LoadMRUSection(history, store);
    EXPECT_EQ(history.MRUList(), QStringList({"calc", "NOTEPAD", "mail"}));
    EXPECT_EQ(combo.list, QStringList({"calc", "notepad", "NOTEPAD", "mail"}));
    EXPECT_EQ(combo.value, QString());

    ASSERT_TRUE(input::SaveMRUSection(history, store));
    config::CIniFile reread;
    ASSERT_TRUE(reread.Load(path));
    reread.setNowSection(input::kMRUSection);
    EXPECT_EQ(reread.Keys(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(reread.Data("1"), QStringLiteral("calc"));
    EXPECT_EQ(reread.Data("3"), QStringLiteral("mail"));
}

TEST(MRUSection, MaxZeroWritesAnEmptySection) {
    const QString path = testsupport::freshFolder() + "/scrivlet.ini";
    testsupport::writeFile(path, "[MRU]\r\n1=a\r\n");
    config::CIniFile store;
    ASSERT_TRUE(store.Load(path));
    ListCombo combo;
    input::CMRUCombo history;
    history.setComboBox(&combo);
    input::LoadMRUSection(history, store);
    EXPECT_TRUE(history.MRUList().isEmpty());
    EXPECT_EQ(combo.list, QStringList({"a"}));
    ASSERT_TRUE(input::SaveMRUSection(history, store));
    config::CIniFile reread;
    ASSERT_TRUE(reread.Load(path));
    reread.setNowSection(input::kMRUSection);
    EXPECT_TRUE(reread.Keys().isEmpty());
}
