#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

namespace testsupport {

// While alive, every message box the code asks for is recorded instead of shown, and answered
// from `answers` in order (with the box's default answer once they run out).
class ScriptedBoxes {
public:
    ScriptedBoxes()
        : m_previous(platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& r) {
              shown << r;
              if (onBox)
                  onBox(r);
              if (answers.empty())
                  return platform::defaultAnswer(r.style);
              const int answer = answers.front();
              answers.pop_front();
              return answer;
          })) {}
    ~ScriptedBoxes() { platform::setMessageBoxHandler(std::move(m_previous)); }
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

    QStringList texts() const {
        QStringList result;
        for (const platform::MessageBoxRequest& request : shown)
            result << request.text;
        return result;
    }

    QList<platform::MessageBoxRequest> shown;
    std::deque<int> answers;
    // Runs as each box comes, before it is answered.
    std::function<void(const platform::MessageBoxRequest&)> onBox;

private:
    platform::MessageBoxHandler m_previous;
};

} // namespace testsupport
