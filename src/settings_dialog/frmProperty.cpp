#include "frmProperty.h"

#include "CommandPage.h"
#include "OpenFileDialog.h"
#include "PropertyHost.h"
#include "TimerPage.h"
#include "platform/gui/Twips.h"

#include "DesktopLimits.h"
#include "config/CIniFile.h"
#include "config/CommandEntry.h"
#include "config/OptionSchema.h"
#include "config/Settings.h"
#include "controls/uHotKey.h"
#include "controls/uSpinButton.h"
#include "engine/ShellExecution.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/Autostart.h"
#include "platform/MessageBox.h"
#include "settings_dialog/ExampleScript.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace settings_dialog {

namespace mb = platform::mb;

namespace {

const QString kOptions = QStringLiteral("Options");
const QString kStartAtLogin = QStringLiteral("StartAtLogin");

int g_rememberedTab = 1;

// The combinations a hotkey may be, as the page lists them.
QString hotKeyFormsText() {
    return QStringLiteral("ホットキーには\n・[Ctrl] + [Alt] + 英数字\n"
                          "・[Ctrl] + [Shift] + [Alt] + 英数字\n"
                          "・[Windows] + 英数字\nが指定可能です。");
}

// The check boxes of section "Options".
struct OptionBox {
    bool config::Options::*member;
    const char* objectName;
    const char* caption;
    QString key() const { return config::optionField(member).key; }
};
const OptionBox kWindowOptions[] = {
    {&config::Options::TopMost, "chkTopMost", "常に手前に表示する(&T)"},
    {&config::Options::StartUpTray, "chkStartUpTray", "起動時に最小化(&M)"},
    {&config::Options::UnresidentInfo, "chkUnresidentInfo", "終了時に確認ダイアログ表示(&U)"},
    {&config::Options::IMEState, "chkIMEState", "IMEの状態を復元する(&I)"},
    {&config::Options::HideAfterRun, "chkHideAfterRun", "実行後閉じる(&X)"},
    {&config::Options::NoTray, "chkNoTray", "タスクトレイに入れない(&K)"},
};
const OptionBox kCalculationOptions[] = {
    {&config::Options::SetClipboard, "chkSetClipBoard", "結果をクリップボードへ(&C)"},
    {&config::Options::IfVoidThenHide, "chkIfVoidThenHide", "結果が無ければ閉じる(&N)"},
    {&config::Options::ShowErrMsg, "chkShowErrMsg", "エラーメッセージを表示(&S)"},
};

template <typename Visit> void forEachOptionBox(Visit&& visit) {
    for (const OptionBox& option : kWindowOptions)
        visit(option);
    for (const OptionBox& option : kCalculationOptions)
        visit(option);
}

// The picture of the keep-above button: a pin.
QIcon pinIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(QPen(QColor(80, 80, 80), s / 10.0));
    painter.drawLine(QPointF(s * 0.5, s * 0.55), QPointF(s * 0.5, s * 0.95));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 40, 40));
    painter.drawEllipse(QPointF(s * 0.5, s * 0.33), s * 0.28, s * 0.28);
    return QIcon(pixmap);
}

} // namespace

frmProperty::frmProperty(IPropertyHost& host, config::CIniFile& ini, config::Options& options,
                         TimerList& timers, QWidget* owner)
    : QDialog(owner), m_host(host), m_ini(ini), m_options(options) {
    setObjectName(QStringLiteral("frmProperty"));
    setWindowTitle(QStringLiteral("設定"));
    setAttribute(Qt::WA_InputMethodEnabled, true);

    m_TabStrip = new QTabWidget(this);
    m_TabStrip->setObjectName(QStringLiteral("TabStrip"));
    m_commandPage = new CommandPage(host, m_TabStrip);
    m_timerPage = new TimerPage(host, timers, m_TabStrip);
    m_TabStrip->addTab(buildGeneralPage(), QStringLiteral("全般"));
    m_TabStrip->setTabToolTip(0, QStringLiteral("アプリケーション全般の設定を行います。"));
    m_TabStrip->addTab(m_commandPage, QStringLiteral("コマンド"));
    m_TabStrip->setTabToolTip(1, QStringLiteral("コマンドの登録を行います。"));
    m_TabStrip->addTab(m_timerPage, QStringLiteral("タイマー"));
    m_TabStrip->setTabToolTip(2, QStringLiteral("タイマーの登録を行います。"));

    m_chkToggleTopMost = new QToolButton(this);
    m_chkToggleTopMost->setObjectName(QStringLiteral("chkToggleTopMost"));
    m_chkToggleTopMost->setCheckable(true);
    m_chkToggleTopMost->setAutoRaise(true);
    m_chkToggleTopMost->setIcon(pinIcon(32));
    m_chkToggleTopMost->setToolTip(QStringLiteral("この画面を常に手前に表示します。"));
    m_chkToggleTopMost->setFocusPolicy(Qt::NoFocus);
    m_TabStrip->setCornerWidget(m_chkToggleTopMost, Qt::TopRightCorner);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdApp = new QPushButton(QStringLiteral("適用(&A)"), this);
    m_cmdApp->setObjectName(QStringLiteral("cmdApp"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {m_cmdOK, m_cmdCancel, m_cmdApp}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_TabStrip, 1);
    layout->addLayout(buttons);

    connect(m_cmdOK, &QPushButton::clicked, this, &frmProperty::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmProperty::cmdCancel_Click);
    connect(m_cmdApp, &QPushButton::clicked, this, &frmProperty::cmdApp_Click);
    connect(m_chkToggleTopMost, &QToolButton::toggled, this, [this](bool on) {
        if (QWindow* handle = windowHandle())
            handle->setFlag(Qt::WindowStaysOnTopHint, on);
        else
            setWindowFlag(Qt::WindowStaysOnTopHint, on);
    });
    connect(m_commandPage, &CommandPage::edited, this, &frmProperty::enableApply);

    for (QLineEdit* box : m_commandPage->editBoxes())
        watchFocus(box, m_commandPage->cmdAdd(), true);
    watchFocus(m_commandPage->txtCommandTest(), m_commandPage->cmdCommandTest(), true);
    for (QWidget* widget : m_timerPage->registerFocusWidgets())
        watchFocus(widget, m_timerPage->cmdTimerSet(), widget == m_timerPage->txtExecuteCommand());
    watchFocus(m_txtMemoFileName, nullptr, true);
    makeDefault(m_cmdOK);

    load();
    settings_dialog::showDesktopOwnedHotKey(this);
    settings_dialog::markX11OnlyOptions(this);
    // Wide enough for the command list's columns at their design widths.
    resize(qMax(sizeHint().width(), platform::twipsToPixelsX(this, 9400)), sizeHint().height());
}

frmProperty::~frmProperty() = default;

int frmProperty::rememberedTab() {
    return g_rememberedTab;
}

QWidget* frmProperty::buildGeneralPage() {
    auto* page = new QWidget(m_TabStrip);
    page->setObjectName(QStringLiteral("fraTab1"));

    auto* checks = new QVBoxLayout;
    for (const OptionBox& option : kWindowOptions) {
        auto* box = new QCheckBox(QString::fromUtf8(option.caption), page);
        box->setObjectName(QLatin1String(option.objectName));
        m_optionBoxes.insert(option.key(), box);
        checks->addWidget(box);
    }
    // Start at login is the desktop's own setting (the autostart entry), not the program's.
    auto* chkStartAtLogin = new QCheckBox(QStringLiteral("ログイン時に起動する(&G)"), page);
    chkStartAtLogin->setObjectName(QStringLiteral("chkStartAtLogin"));
    m_optionBoxes.insert(kStartAtLogin, chkStartAtLogin);
    checks->addWidget(chkStartAtLogin);

    m_txtHotKey = new controls::uHotKey(page);
    m_txtHotKey->setObjectName(QStringLiteral("txtHotKey"));
    auto* lblHotKey = new QLabel(QStringLiteral("ホットキー(&H):"), page);
    lblHotKey->setObjectName(QStringLiteral("lblHotKey"));
    lblHotKey->setBuddy(m_txtHotKey);
    auto* lblHotKeyInfo = new QLabel(hotKeyFormsText(), page);
    lblHotKeyInfo->setObjectName(QStringLiteral("lblHotKeyInfo"));
    lblHotKeyInfo->setTextFormat(Qt::PlainText);
    auto* hotKeyRow = new QHBoxLayout;
    hotKeyRow->addWidget(lblHotKey);
    hotKeyRow->addWidget(m_txtHotKey, 1);
    checks->addSpacing(6);
    checks->addLayout(hotKeyRow);
    checks->addWidget(lblHotKeyInfo);
    checks->addStretch(1);

    auto* fraMRU = new QGroupBox(QStringLiteral("履歴"), page);
    fraMRU->setObjectName(QStringLiteral("fraMRU"));
    m_chkMRULimit = new QCheckBox(QStringLiteral("履歴の数を限定する(&A)"), fraMRU);
    m_chkMRULimit->setObjectName(QStringLiteral("chkMRULimit"));
    // Its caption shares Alt+A with 適用(&A); two owners of one mnemonic only take turns with the
    // focus and neither is pressed. The button keeps the key; the box is a click or Tab away.
    m_chkMRULimit->setShortcut(QKeySequence());
    m_uspnMRU = new controls::uSpinButton(fraMRU);
    m_uspnMRU->setObjectName(QStringLiteral("uspnMRU"));
    m_uspnMRU->setMin(0);
    m_uspnMRU->setMax(50);
    m_uspnMRU->setFixedWidth(m_uspnMRU->fontMetrics().horizontalAdvance(QStringLiteral("0000")) +
                             m_uspnMRU->textBox()->sizeHint().height());
    auto* lblMRUInfo = new QLabel(QStringLiteral("履歴の数(&R):"), fraMRU);
    lblMRUInfo->setObjectName(QStringLiteral("lblMRUInfo"));
    lblMRUInfo->setBuddy(m_uspnMRU);
    auto* cmdDeleteMRU = new QPushButton(QStringLiteral("履歴の消去(&D)"), fraMRU);
    cmdDeleteMRU->setObjectName(QStringLiteral("cmdDeleteMRU"));
    cmdDeleteMRU->setAutoDefault(false);
    auto* mruLayout = new QGridLayout(fraMRU);
    mruLayout->addWidget(m_chkMRULimit, 0, 0, 1, 3);
    mruLayout->addWidget(lblMRUInfo, 1, 0);
    mruLayout->addWidget(m_uspnMRU, 1, 1);
    mruLayout->setColumnStretch(2, 1);
    mruLayout->addWidget(cmdDeleteMRU, 2, 0, 1, 3, Qt::AlignLeft);

    auto* fraVBSRun = new QGroupBox(QStringLiteral("計算"), page);
    fraVBSRun->setObjectName(QStringLiteral("fraVBSRun"));
    auto* calc = new QVBoxLayout(fraVBSRun);
    for (const OptionBox& option : kCalculationOptions) {
        auto* box = new QCheckBox(QString::fromUtf8(option.caption), fraVBSRun);
        box->setObjectName(QLatin1String(option.objectName));
        m_optionBoxes.insert(option.key(), box);
        calc->addWidget(box);
    }
    auto* cmdVbsEdit = new QPushButton(QStringLiteral("Scrivlet.vbs の編集(&E)..."), fraVBSRun);
    cmdVbsEdit->setObjectName(QStringLiteral("cmdVbsEdit"));
    auto* cmdVbsLoad = new QPushButton(QStringLiteral("Scrivlet.vbs の再読込(&L)"), fraVBSRun);
    cmdVbsLoad->setObjectName(QStringLiteral("cmdVbsLoad"));
    for (QPushButton* button : {cmdVbsEdit, cmdVbsLoad}) {
        button->setAutoDefault(false);
        calc->addWidget(button);
    }
    m_lblExecutableInfo = new QLabel(fraVBSRun);
    m_lblExecutableInfo->setObjectName(QStringLiteral("lblExecutableInfo"));
    m_lblExecutableInfo->setTextFormat(Qt::PlainText);
    m_lblExecutableInfo->setWordWrap(true);
    calc->addWidget(m_lblExecutableInfo);

    auto* right = new QVBoxLayout;
    right->addWidget(fraMRU);
    right->addWidget(fraVBSRun);
    right->addStretch(1);

    m_txtMemoFileName = new QLineEdit(page);
    m_txtMemoFileName->setObjectName(QStringLiteral("txtMemoFileName"));
    auto* lblMemoFileName = new QLabel(QStringLiteral("メモファイル名(&F):"), page);
    lblMemoFileName->setObjectName(QStringLiteral("lblMemoFileName"));
    lblMemoFileName->setBuddy(m_txtMemoFileName);
    auto* cmdMemoFileNameRef = new QPushButton(QStringLiteral("..."), page);
    cmdMemoFileNameRef->setObjectName(QStringLiteral("cmdMemoFileNameRef"));
    cmdMemoFileNameRef->setAutoDefault(false);
    cmdMemoFileNameRef->setFixedWidth(
        cmdMemoFileNameRef->fontMetrics().horizontalAdvance(QStringLiteral(" ... ")) + 12);
    auto* memoRow = new QHBoxLayout;
    memoRow->addWidget(lblMemoFileName);
    memoRow->addWidget(m_txtMemoFileName, 1);
    memoRow->addWidget(cmdMemoFileNameRef);

    auto* columns = new QHBoxLayout;
    columns->addLayout(checks, 1);
    columns->addLayout(right, 1);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addLayout(columns, 1);
    pageLayout->addLayout(memoRow);

    for (QCheckBox* box : m_optionBoxes)
        connect(box, &QCheckBox::clicked, this, &frmProperty::enableApply);
    connect(m_chkMRULimit, &QCheckBox::clicked, this, [this](bool on) {
        m_uspnMRU->setEnabled(on);
        enableApply();
    });
    connect(m_txtMemoFileName, &QLineEdit::textChanged, this, &frmProperty::enableApply);
    connect(m_txtHotKey, &controls::uHotKey::Change, this, &frmProperty::enableApply);
    connect(m_uspnMRU, &controls::uSpinButton::Change, this, &frmProperty::enableApply);
    connect(m_uspnMRU, &controls::uSpinButton::valueEdited, this, &frmProperty::enableApply);
    connect(cmdMemoFileNameRef, &QPushButton::clicked, this,
            &frmProperty::cmdMemoFileNameRef_Click);
    connect(cmdDeleteMRU, &QPushButton::clicked, this, &frmProperty::cmdDeleteMRU_Click);
    connect(cmdVbsEdit, &QPushButton::clicked, this, &frmProperty::cmdVbsEdit_Click);
    connect(cmdVbsLoad, &QPushButton::clicked, this, &frmProperty::cmdVbsLoad_Click);
    return page;
}

void frmProperty::load() {
    m_ini.setNowSection(kOptions);
    config::Options stored;
    for (const config::OptionField& field : config::optionSchema())
        config::readOption(stored, field, m_ini.Data(field.key));
    forEachOptionBox([&](const OptionBox& option) {
        m_optionBoxes.value(option.key())->setChecked(stored.*option.member);
    });
    m_optionBoxes.value(kStartAtLogin)->setChecked(platform::isStartedAtLogin());
    m_txtMemoFileName->setText(stored.MemoFileName);
    m_txtHotKey->setMask(stored.HotKeyMask);
    m_txtHotKey->setHotKey(stored.HotKey);
    const int mru = stored.MRU;
    if (mru == -1) {
        m_chkMRULimit->setChecked(false);
        m_uspnMRU->setValue(0);
        m_uspnMRU->setEnabled(false);
    } else {
        m_chkMRULimit->setChecked(true);
        m_uspnMRU->setValue(mru);
        m_uspnMRU->setEnabled(true);
    }
    m_commandPage->load(m_ini);

    setWindowTitle(QStringLiteral("設定 - ") + m_host.appTitleWithVersion());
    setWindowIcon(m_host.programIcon());

    if (!m_host.scriptEngineAvailable())
        m_lblExecutableInfo->setText(QStringLiteral(
            "計算機能は利用できません。\nMSSCRIPT.ocxがインストールされていないようです。"));
    m_timerPage->setMode(TimerPage::rememberedMode());
    m_TabStrip->setCurrentIndex(g_rememberedTab - 1);
    m_cmdApp->setEnabled(false);
}

int frmProperty::Show2(int tabIndex, bool modal) {
    if (tabIndex > 0 && tabIndex <= m_TabStrip->count())
        m_TabStrip->setCurrentIndex(tabIndex - 1);
    if (!modal) {
        show();
        return 0;
    }
    return exec();
}

void frmProperty::enableApply() const {
    m_cmdApp->setEnabled(true);
}

bool frmProperty::save() {
    // The start-up repair would drop any other combination silently: say so now.
    if (!config::isStorableHotKey(m_txtHotKey->Mask(), m_txtHotKey->HotKey())) {
        m_TabStrip->setCurrentIndex(0);
        ask(QStringLiteral("このホットキーは使用できません。\n") + hotKeyFormsText(),
            int(mb::OKOnly) | mb::Exclamation);
        m_txtHotKey->setFocus();
        return false;
    }
    m_ini.setNowSection(kOptions);
    config::Options edited = m_options;
    forEachOptionBox([&](const OptionBox& option) {
        edited.*option.member = m_optionBoxes.value(option.key())->isChecked();
    });
    edited.MemoFileName = m_txtMemoFileName->text();
    edited.HotKeyMask = m_txtHotKey->Mask();
    edited.HotKey = m_txtHotKey->HotKey();
    edited.MRU = short(m_chkMRULimit->isChecked() ? m_uspnMRU->Value() : -1);
    for (const config::OptionField& field : config::optionSchema())
        config::writeOption(m_ini, field, edited);
    m_commandPage->save(m_ini);

    // Only the two sections the dialog owns are written: the history and the key bindings in
    // memory are the ones read at start and are saved by the window at exit.
    const bool saved = m_ini.Save(kOptions) && m_ini.Save(config::kCommandSection);
    if (!saved) {
        ask(QStringLiteral("設定を保存できませんでした。\n%1").arg(m_ini.fileName()),
            int(mb::OKOnly) | mb::Exclamation);
        return false;
    }
    // The running program takes the edits only once they are in the file.
    m_options = edited;
    const bool startAtLogin = m_optionBoxes.value(kStartAtLogin)->isChecked();
    if (startAtLogin != platform::isStartedAtLogin()) {
        const platform::WriteResult written =
            platform::setStartedAtLogin(startAtLogin, QCoreApplication::applicationFilePath());
        if (!written) {
            ask(QStringLiteral("ログイン時の起動を設定できませんでした。\n%1\n%2")
                    .arg(platform::autostartEntryPath(), written.error),
                int(mb::OKOnly) | mb::Exclamation);
            return false;
        }
    }
    return true;
}

void frmProperty::cmdOK_Click() {
    g_rememberedTab = m_TabStrip->currentIndex() + 1;
    m_timerPage->rememberMode();
    // A failed save leaves the dialog open with the edits, to try again or cancel.
    if (save())
        accept();
}

void frmProperty::cmdApp_Click() {
    if (save())
        m_cmdApp->setEnabled(false);
}

void frmProperty::cmdCancel_Click() {
    reject();
}

void frmProperty::closeEvent(QCloseEvent* event) {
    // The frame's close button acts as Cancel.
    event->accept();
    reject();
}

void frmProperty::cmdMemoFileNameRef_Click() {
    const QString current = m_txtMemoFileName->text();
    const qsizetype slash = current.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? platform::AppPath() : current.left(slash + 1);
    const QString fileName = slash < 0 ? current : current.mid(slash + 1);
    const QString chosen = ShowOpenFileDialog(this, QString(), folder, fileName, QString());
    if (!chosen.isEmpty())
        m_txtMemoFileName->setText(chosen);
}

void frmProperty::cmdDeleteMRU_Click() {
    const int answer = ask(QStringLiteral("履歴を削除します。\n"
                                          "この操作は元に戻せませんがよろしいですか？"),
                           int(mb::OKCancel) | mb::Exclamation | mb::DefaultButton2);
    if (answer == mb::OK)
        m_host.clearHistoryList();
}

void frmProperty::cmdVbsEdit_Click() {
    const QString script = platform::userScriptFilePath();
    // A new user has no script file yet: the editor opens one that shows what it is for.
    createExampleScriptIfMissing(script);
    const QString quoted = QLatin1Char('"') + script + QLatin1Char('"');
    if (!engine::ExecuteShell(quoted, QStringLiteral("edit")))
        engine::ExecuteShell(QStringLiteral("notepad.exe ") + quoted, QString());
}

void frmProperty::cmdVbsLoad_Click() {
    const int answer = ask(QStringLiteral("Scrivlet.vbsをロードし直します。\nよろしいですか？"),
                           int(mb::YesNo) | mb::Exclamation | mb::DefaultButton2);
    if (answer != mb::Yes)
        return;
    if (m_host.reloadScriptFile(platform::userScriptFilePath()))
        ask(QStringLiteral("処理が終了しました。"), int(mb::OKOnly) | mb::Information);
    else
        ask(QStringLiteral("ロードに失敗しました。"), int(mb::OKOnly) | mb::Exclamation);
}

int frmProperty::ask(const QString& text, int style) const {
    return platform::showMessageBox(text, style, m_host.appTitleWithVersion());
}

void frmProperty::makeDefault(QPushButton* button) {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b != button && b->isDefault())
            b->setDefault(false);
    button->setDefault(true);
}

void frmProperty::watchFocus(QWidget* widget, QPushButton* defaultButton, bool selectAll) {
    m_focusRules.insert(widget, FocusRule{defaultButton, selectAll});
    widget->installEventFilter(this);
}

bool frmProperty::eventFilter(QObject* watched, QEvent* event) {
    const auto rule = m_focusRules.constFind(watched);
    if (rule != m_focusRules.constEnd()) {
        if (event->type() == QEvent::FocusIn) {
            if (rule->button)
                makeDefault(rule->button);
            if (rule->selectAll)
                if (auto* box = qobject_cast<QLineEdit*>(watched))
                    QTimer::singleShot(0, box, &QLineEdit::selectAll);
        } else if (event->type() == QEvent::FocusOut && rule->button) {
            makeDefault(m_cmdOK);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace settings_dialog
