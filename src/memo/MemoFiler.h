#pragma once

#include "memo/HeadlessMemoView.h"
#include "memo/MemoDateFormat.h"
#include "memo/MemoFile.h"
#include "memo/MemoList.h"

#include <functional>
#include <optional>

namespace memo {

// The home of the memos of one memo file, outside any window: it owns the memo list, files prose
// lines into the current memo and saves, and tells its owner when that failed. The memo pane only
// views the list (attachView); the line dispatcher files through fileLine; scrivlet-cli uses the
// same class with no view at all.
class MemoFiler {
public:
    enum class Failure {
        NotReadable, // the memo file could not be read, so nothing can be filed into it
        NotSaved,    // the memos are in memory, but the file could not be written
    };
    // Told of every failure of fileLine, and of save's as it asks; the window shows a box, the
    // console prints a line.
    using FailureReporter =
        std::function<void(Failure failure, const MemoFileError& error, const QString& fileName)>;
    // Another program that holds the same memo file open may take the line instead (the running
    // window, for the console). It gets the title of the memo the line is for ("" for the current
    // memo), calls fileHere when the line is to be filed here after all and returns whether the
    // line was filed by either.
    using HandOff = std::function<bool(const QString& line, const QString& memoTitle,
                                       const std::function<bool()>& fileHere)>;

    explicit MemoFiler(MemoClock clock = systemMemoClock());

    MemoList& list() { return m_list; }
    const MemoList& list() const { return m_list; }

    // Shows the list in `view` from now on; the view first gets everything the list shows.
    void attachView(IMemoView& view);

    // Names the memo file and reads it. The old name stays when the folder does not exist.
    std::optional<MemoFileError> open(const QString& fileName);

    void setFailureReporter(FailureReporter reporter) { m_reporter = std::move(reporter); }
    void setHandOff(HandOff handOff) { m_handOff = std::move(handOff); }

    // Appends "[time stamp] line" to the current memo and saves the file. Empty text files
    // nothing. False, and the reporter told, when the line is not in the file.
    bool fileLine(const QString& line);
    // The same for the memo titled `memoTitle` (MemoList::AddMessageToTitled), or the current
    // memo when it is "".
    bool fileLineInto(const QString& memoTitle, const QString& line);
    // Where fileLine files from now on: the memo of this title ("" for the current memo).
    void setTargetTitle(const QString& memoTitle) { m_targetTitle = memoTitle; }
    const QString& targetTitle() const { return m_targetTitle; }

    // Writes the memos to the file. A failure is reported when `reportEveryFailure`, or when it is
    // the first of a run of failures (the save is retried at every focus change). A file that could
    // not be read is not reported again: that was said when it was read.
    bool save(bool reportEveryFailure);

private:
    bool fileHere(const QString& memoTitle, const QString& line);
    void report(Failure failure, const MemoFileError& error) const;

    HeadlessMemoView m_noView;
    MemoList m_list;
    FailureReporter m_reporter;
    HandOff m_handOff;
    bool m_saveFailureReported = false;
    QString m_targetTitle;
};

} // namespace memo
