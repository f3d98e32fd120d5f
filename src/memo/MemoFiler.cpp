#include "memo/MemoFiler.h"

namespace memo {

MemoFiler::MemoFiler(MemoClock clock) : m_list(m_noView, std::move(clock)) {}

void MemoFiler::attachView(IMemoView& view) {
    m_list.setView(view);
}

std::optional<MemoFileError> MemoFiler::open(const QString& fileName) {
    if (auto error = m_list.setFileName(fileName))
        return error;
    return m_list.Load();
}

bool MemoFiler::fileLine(const QString& line) {
    return fileLineInto(m_targetTitle, line);
}

bool MemoFiler::fileLineInto(const QString& memoTitle, const QString& line) {
    if (line.isEmpty())
        return false;
    if (m_handOff)
        return m_handOff(line, memoTitle, [&] { return fileHere(memoTitle, line); });
    return fileHere(memoTitle, line);
}

bool MemoFiler::fileHere(const QString& memoTitle, const QString& line) {
    const bool filed =
        memoTitle.isEmpty() ? m_list.AddMessage(line) : m_list.AddMessageToTitled(line, memoTitle);
    if (!filed) {
        const MemoFileError why =
            m_list.loadError() ? *m_list.loadError() : MemoFileError{75, m_list.FileName()};
        report(Failure::NotReadable, why);
        return false;
    }
    // One box per run of failures, as for the saves at focus changes.
    return save(false);
}

bool MemoFiler::save(bool reportEveryFailure) {
    const std::optional<MemoFileError> error = m_list.Save();
    if (!error) {
        m_saveFailureReported = false;
        return true;
    }
    if (m_list.loadError())
        return false;
    if (reportEveryFailure || !m_saveFailureReported) {
        m_saveFailureReported = true;
        report(Failure::NotSaved, *error);
    }
    return false;
}

void MemoFiler::report(Failure failure, const MemoFileError& error) const {
    if (m_reporter)
        m_reporter(failure, error, m_list.FileName());
}

} // namespace memo
