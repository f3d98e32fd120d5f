#include "CommandPage.h"

#include "CommandKeyRule.h"
#include "PropertyHost.h"
#include "platform/gui/Twips.h"

#include "config/CIniFile.h"
#include "config/CommandEntry.h"
#include "engine/CommandExpander.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace settings_dialog {

namespace mb = platform::mb;

namespace {

constexpr int kKeyRole = Qt::UserRole;

bool isAsciiAlphanumeric(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// Only 0-9, A-Z and a-z, and not digits alone.
bool isValidCommand(const QString& command) {
    bool allDigits = true;
    for (const QChar c : command) {
        if (!isAsciiAlphanumeric(c))
            return false;
        if (!c.isDigit())
            allDigits = false;
    }
    return !allDigits;
}

QLabel* buddyLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CommandPage::CommandPage(IPropertyHost& host, QWidget* parent) : QWidget(parent), m_host(host) {
    m_txtCommandName = new QLineEdit(this);
    m_txtCommandName->setObjectName(QStringLiteral("txtCommandName"));
    m_txtCommand = new QLineEdit(this);
    m_txtCommand->setObjectName(QStringLiteral("txtCommand"));
    m_txtCommandContent = new QLineEdit(this);
    m_txtCommandContent->setObjectName(QStringLiteral("txtCommandContent"));
    m_cmdAdd = new QPushButton(QCoreApplication::translate("CommandPage", "追加/置換(&R)"), this);
    m_cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    m_cmdDelete = new QPushButton(QCoreApplication::translate("CommandPage", "削除(&D)"), this);
    m_cmdDelete->setObjectName(QStringLiteral("cmdDelete"));

    auto* lblCommandInfo =
        new QLabel(QCoreApplication::translate(
                       "CommandPage", "【引数の利用方法】\n%a:引数全体\n%b～%z:1～25番目の引数\n"
                                      "(大文字ならURLｴﾝｺｰﾄﾞする)\n%{...}:...を式として評価\n"
                                      "%`...`:...をｺﾏﾝﾄﾞとして展開"),
                   this);
    lblCommandInfo->setObjectName(QStringLiteral("lblCommandInfo"));
    lblCommandInfo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lblCommandInfo->setTextFormat(Qt::PlainText);

    m_lsvCommand = new QTreeWidget(this);
    m_lsvCommand->setObjectName(QStringLiteral("lsvCommand"));
    m_lsvCommand->setHeaderLabels({QCoreApplication::translate("CommandPage", "名前"),
                                   QCoreApplication::translate("CommandPage", "コマンド"),
                                   QCoreApplication::translate("CommandPage", "中身")});
    m_lsvCommand->setRootIsDecorated(false);
    m_lsvCommand->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lsvCommand->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lsvCommand->setAllColumnsShowFocus(true);
    m_lsvCommand->setColumnWidth(0, platform::twipsToPixelsX(this, 2117));
    m_lsvCommand->setColumnWidth(1, platform::twipsToPixelsX(this, 1060));
    m_lsvCommand->setColumnWidth(2, platform::twipsToPixelsX(this, 5292));

    m_txtCommandTest = new QLineEdit(this);
    m_txtCommandTest->setObjectName(QStringLiteral("txtCommandTest"));
    m_cmdCommandTest = new QPushButton(QCoreApplication::translate("CommandPage", "テスト"), this);
    m_cmdCommandTest->setObjectName(QStringLiteral("cmdCommandTest"));
    m_txtCommandResult = new QPlainTextEdit(this);
    m_txtCommandResult->setObjectName(QStringLiteral("txtCommandResult"));
    m_txtCommandResult->setReadOnly(true);
    m_txtCommandResult->setFixedHeight(m_txtCommandTest->sizeHint().height() * 2);

    auto* edits = new QGridLayout;
    edits->addWidget(buddyLabel(QCoreApplication::translate("CommandPage", "コマンド名(&N):"),
                                m_txtCommandName, this),
                     0, 0);
    edits->addWidget(m_txtCommandName, 0, 1);
    edits->addWidget(
        buddyLabel(QCoreApplication::translate("CommandPage", "コマンド(&C):"), m_txtCommand, this),
        1, 0);
    edits->addWidget(m_txtCommand, 1, 1);
    edits->addWidget(buddyLabel(QCoreApplication::translate("CommandPage", "コマンドの中身(&T):"),
                                m_txtCommandContent, this),
                     2, 0);
    edits->addWidget(m_txtCommandContent, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdAdd);
    buttons->addWidget(m_cmdDelete);
    edits->addLayout(buttons, 3, 0, 1, 2);
    edits->setRowStretch(4, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(edits, 1);
    top->addWidget(lblCommandInfo, 0, Qt::AlignTop);

    auto* lblCommandList = buddyLabel(
        QCoreApplication::translate("CommandPage", "コマンドリスト(&L):"), m_lsvCommand, this);
    lblCommandList->setObjectName(QStringLiteral("lblCommandList"));
    auto* lblCommandTest = buddyLabel(QCoreApplication::translate("CommandPage", "テスト(&S):"),
                                      m_txtCommandTest, this);
    lblCommandTest->setObjectName(QStringLiteral("lblCommandTest"));
    auto* test = new QHBoxLayout;
    test->addWidget(lblCommandTest);
    test->addWidget(m_txtCommandTest, 1);
    test->addWidget(m_cmdCommandTest);

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(lblCommandList);
    page->addWidget(m_lsvCommand, 1);
    page->addLayout(test);
    page->addWidget(m_txtCommandResult);

    connect(m_cmdAdd, &QPushButton::clicked, this, &CommandPage::cmdAdd_Click);
    connect(m_cmdDelete, &QPushButton::clicked, this, &CommandPage::cmdDelete_Click);
    connect(m_cmdCommandTest, &QPushButton::clicked, this, &CommandPage::cmdCommandTest_Click);
    connect(m_lsvCommand, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { selectRow(m_lsvCommand->indexOfTopLevelItem(item)); });
    m_lsvCommand->installEventFilter(this);
    // The page takes drops on the three boxes itself, to append rather than insert.
    for (QLineEdit* box : editBoxes())
        box->installEventFilter(this);
}

QList<QLineEdit*> CommandPage::editBoxes() const {
    return {m_txtCommandName, m_txtCommand, m_txtCommandContent};
}

void CommandPage::load(config::CIniFile& ini) {
    m_lsvCommand->clear();
    ini.setNowSection(config::kCommandSection);
    for (const QString& key : ini.Keys()) {
        const QString value = ini.Data(key);
        const config::CommandEntry entry =
            config::parseCommandEntry(value).value_or(config::CommandEntry{value, {}});
        const QString command = key.toLower();
        // A second key differing only in case would be the same command; the first one stays.
        if (!rowOf(command))
            addRow(command, entry.name, entry.templateText);
    }
    m_cmdDelete->setEnabled(m_lsvCommand->topLevelItemCount() > 0);
}

void CommandPage::save(config::CIniFile& ini) const {
    ini.setNowSection(config::kCommandSection);
    for (const QString& key : ini.Keys())
        ini.DeleteData(key);
    for (int i = 0; i < m_lsvCommand->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = m_lsvCommand->topLevelItem(i);
        ini.setData(row->text(1), config::formatCommandEntry({row->text(0), row->text(2)}));
    }
}

QString CommandPage::templateOf(const QString& name) const {
    const QTreeWidgetItem* row = rowOf(name.toLower());
    return row ? row->text(2) : QString();
}

QTreeWidgetItem* CommandPage::rowOf(const QString& key) const {
    for (int i = 0; i < m_lsvCommand->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = m_lsvCommand->topLevelItem(i);
        if (row->data(0, kKeyRole).toString() == key)
            return row;
    }
    return nullptr;
}

void CommandPage::addRow(const QString& key, const QString& name, const QString& content) {
    auto* row = new QTreeWidgetItem({name, key, content});
    row->setData(0, kKeyRole, key);
    m_lsvCommand->addTopLevelItem(row);
}

void CommandPage::selectRow(int index) {
    QTreeWidgetItem* row = m_lsvCommand->topLevelItem(index);
    if (!row)
        return;
    m_txtCommandName->setText(row->text(0));
    m_txtCommand->setText(row->text(1));
    m_txtCommandContent->setText(row->text(2));
    m_lsvCommand->setCurrentItem(row);
}

int CommandPage::warn(const QString& text, int style) {
    return platform::showMessageBox(text, style, m_host.appTitleWithVersion());
}

void CommandPage::rowAdded(QTreeWidgetItem* row) {
    m_lsvCommand->setCurrentItem(row);
    m_lsvCommand->setFocus(Qt::OtherFocusReason);
    m_cmdDelete->setEnabled(true);
    emit edited();
}

void CommandPage::cmdAdd_Click() {
    const int exclamation = int(mb::OKOnly) | mb::Exclamation;
    if (m_txtCommandName->text().isEmpty()) {
        warn(QCoreApplication::translate("CommandPage", "コマンド名が入力されていません"),
             exclamation);
        m_txtCommandName->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The settings file keeps "name,template" and splits at the first comma.
    if (m_txtCommandName->text().contains(QLatin1Char(','))) {
        warn(QCoreApplication::translate("CommandPage", "コマンド名に「,」は使用できません"),
             exclamation);
        m_txtCommandName->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (m_txtCommand->text().isEmpty()) {
        warn(QCoreApplication::translate("CommandPage", "コマンドが入力されていません"),
             exclamation);
        m_txtCommand->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!isValidCommand(m_txtCommand->text())) {
        warn(QCoreApplication::translate("CommandPage",
                                         "コマンドには半角英数字以外は使用できません\n"
                                         "(但し、数字のみのコマンドは受け付けません)"),
             exclamation);
        m_txtCommand->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString command = m_txtCommand->text().toLower();
    m_txtCommand->setText(command);
    if (const QString problem = commandKeyProblem(command); !problem.isEmpty()) {
        warn(problem, exclamation);
        m_txtCommand->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (m_txtCommandContent->text().isEmpty()) {
        warn(QCoreApplication::translate("CommandPage", "コマンドの内容が入力されていません"),
             exclamation);
        m_txtCommandContent->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (QTreeWidgetItem* existing = rowOf(command)) {
        const int answer =
            warn(QCoreApplication::translate("CommandPage", "コマンド%1は既に登録されています。\n"
                                                            "既存のコマンドと置き換えますか？")
                     .arg(command),
                 int(mb::YesNo) | mb::Exclamation | mb::DefaultButton2);
        if (answer != mb::Yes)
            return;
        existing->setText(0, m_txtCommandName->text());
        existing->setText(2, m_txtCommandContent->text());
        rowAdded(existing);
        return;
    }
    addRow(command, m_txtCommandName->text(), m_txtCommandContent->text());
    rowAdded(m_lsvCommand->topLevelItem(m_lsvCommand->topLevelItemCount() - 1));
}

void CommandPage::cmdDelete_Click() {
    QTreeWidgetItem* row = m_lsvCommand->currentItem();
    if (!row)
        return; // nothing selected: nothing to delete
    const int answer = warn(
        QCoreApplication::translate("CommandPage", "コマンド%1を削除します。\nよろしいですか？")
            .arg(row->text(1)),
        int(mb::OKCancel) | mb::Exclamation | mb::DefaultButton2);
    if (answer != mb::OK)
        return;
    delete row;
    emit edited();
    if (m_lsvCommand->topLevelItemCount() == 0)
        m_cmdDelete->setEnabled(false);
}

void CommandPage::cmdCommandTest_Click() {
    engine::CommandExpander expander(nullptr, m_host.evaluator());
    const QStringList pieces = expander.SplitCommandLine(m_txtCommandTest->text(),
                                                         engine::CommandSource::EditorList, this);
    const QString result = pieces.join(QLatin1Char('\n'));
    m_txtCommandResult->setPlainText(result);
    if (result.isEmpty())
        warn(QCoreApplication::translate("CommandPage", "このコマンドは登録されていませんでした。"),
             int(mb::OKOnly) | mb::Information);
    m_txtCommandTest->selectAll();
}

bool CommandPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lsvCommand && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        cmdDelete_Click();
        return true;
    }
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || !editBoxes().contains(box))
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        const QMimeData* data = drag->mimeData();
        if (data && (data->hasText() || data->hasUrls()))
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        box->setText(m_host.textAfterDrop(box->text(), drop->mimeData()));
        drop->acceptProposedAction();
        window()->activateWindow();
        window()->raise();
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace settings_dialog
