#pragma once

#include "FakeAlarm.h"
#include "ScriptedBoxes.h"
#include "TestEnvironment.h"

#include "config/CIniFile.h"
#include "config/Settings.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "settings_dialog/OpenFileDialog.h"
#include "settings_dialog/PropertyHost.h"
#include "settings_dialog/frmProperty.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace dialogtest {

class FakeHost final : public settings_dialog::IPropertyHost {
public:
    QString appTitleWithVersion() const override { return QStringLiteral("Scrivlet Ver.1.73"); }
    QIcon programIcon() const override {
        QPixmap picture(32, 32);
        picture.fill(Qt::darkBlue);
        return QIcon(picture);
    }
    engine::IEvaluator* evaluator() const override { return nullptr; }
    bool scriptEngineAvailable() const override { return engineAvailable; }
    bool reloadScriptFile(const QString& path) override {
        reloaded << path;
        return reloadWorks;
    }
    void clearHistoryList() override { ++historyCleared; }
    QString textAfterDrop(const QString& boxText, const QMimeData* dropped) const override {
        return boxText + QLatin1Char(' ') + dropped->text();
    }

    bool engineAvailable = true;
    bool reloadWorks = true;
    QStringList reloaded;
    int historyCleared = 0;
};

// A settings dialog over a settings file of its own, with every box it shows recorded and
// answered from a queue (the default button when the queue is empty).
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testsupport::freshFolder(QStringLiteral("program"));
        platform::setProgramIdentity(folder, QStringLiteral("scrivlet"));
    }

    void TearDown() override {
        dialog.reset();
        settings_dialog::setOpenFileDialogHandler({});
        platform::setProgramIdentity(QString(), QString());
    }

    QString iniPath() const { return folder + QStringLiteral("/scrivlet.ini"); }

    // Writes the settings file (lines joined with CR LF) and opens the dialog over it.
    settings_dialog::frmProperty& open(const QStringList& lines = {}) {
        if (!lines.isEmpty())
            testsupport::writeFile(
                iniPath(), (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
        ini = std::make_unique<config::CIniFile>();
        ini->Load(iniPath());
        dialog.reset();
        dialog = std::make_unique<settings_dialog::frmProperty>(host, *ini, running, timers.list);
        return *dialog;
    }

    // The "key=value" lines of one section of the file on disk, in file order.
    QStringList sectionOnDisk(const QString& name) const {
        const QString text = QString::fromUtf8(testsupport::readFile(iniPath()));
        QStringList lines;
        bool inside = false;
        for (const QString& line : text.split(QStringLiteral("\r\n"))) {
            if (line.startsWith(QLatin1Char('['))) {
                inside = line == QLatin1Char('[') + name + QLatin1Char(']');
                continue;
            }
            if (inside && line.contains(QLatin1Char('=')))
                lines << line;
        }
        return lines;
    }

    QString folder;
    FakeHost host;
    config::Options running;
    FakeTimers timers;
    std::unique_ptr<config::CIniFile> ini;
    std::unique_ptr<settings_dialog::frmProperty> dialog;
    testsupport::ScriptedBoxes boxes;
};

} // namespace dialogtest
