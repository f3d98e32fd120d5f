#pragma once

#include "script/ScriptEngine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

class QDialog;

namespace script {

// Lets the user stop a script that runs for more than about a second (a loop that never ends in
// the user's script file) without ending the program: a small box with a 中止 button appears,
// and 中止 or Esc stops the run, which then ends as script error 18.
//
// The script runs on the UI thread, so the event loop is busy while it runs. Once the second has
// passed, the engine's interrupt check lets the loop take its events every few milliseconds;
// meanwhile every key and mouse event that is not for the box is held back (Esc excepted, from
// any of the program's windows), so nothing the user does can start another line or close the
// window in the middle of the run. A script's own box (MsgBox) waits for the user; the second
// starts again after it.
class RunawayScriptGuard final : public QObject, public RunWatcher {
    Q_OBJECT

public:
    explicit RunawayScriptGuard(QString title, QObject* parent = nullptr);
    ~RunawayScriptGuard() override;

    void runStarted() override;
    bool stopRequested() override;
    void runEnded() override;

    // The box while it is shown, else null.
    QDialog* stopBox() const;

    static constexpr qint64 kPatienceMs = 1000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showBox();
    void hideBox();
    bool belongsToBox(QObject* object) const;

    QString m_title;
    std::unique_ptr<QDialog> m_box;
    QElapsedTimer m_clock;
    qint64 m_busySince = 0;
    qint64 m_lastCheck = 0;
    qint64 m_lastPump = 0;
    bool m_stop = false;
};

} // namespace script
