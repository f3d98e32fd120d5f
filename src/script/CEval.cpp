#include "script/CEval.h"
#include "platform/Log.h"

#include "engine/BareWord.h"
#include "platform/TextCodec.h"

#include <QFileInfo>

namespace script {

namespace {

constexpr long kInvalidPropertyValue = 380;

// "CALL*": the line begins with the letters C, A, L, L in any case, blank or not.
bool isCallStatement(const QString& code) {
    return code.left(4).compare(QLatin1String("CALL"), Qt::CaseInsensitive) == 0;
}

} // namespace

CEval::CEval(std::unique_ptr<ScriptEngine> engine, QObject* parent)
    : QObject(parent), m_scriptEngine(std::move(engine)) {
    setLanguage(QStringLiteral("VBScript"));
}

CEval::~CEval() {
    // The objects go before the engine that holds them.
    m_namedObjects.clear();
    m_scriptEngine.reset();
}

bool CEval::Executable() const {
    return m_scriptEngine && !m_languageName.isEmpty();
}

void CEval::setLanguage(const QString& newLanguage) {
    if (!m_scriptEngine) {
        return;
    }
    if (!m_scriptEngine->setLanguage(newLanguage) &&
        m_scriptEngine->lastError().number == kInvalidPropertyValue) {
        m_languageName.clear();
        return;
    }
    m_languageName = newLanguage;
}

void CEval::setAddCodeFile(const QString& newAddCodeFile) {
    m_codeFilePath = newAddCodeFile;
    if (!Reload()) {
        m_codeFilePath.clear();
    }
}

bool CEval::Add(const QString& name, vbscript::Ref<vbscript::Object> obj) {
    m_namedObjects.emplace_back(name, std::move(obj));
    return Reload();
}

bool CEval::Reload() {
    if (!Executable()) {
        return false;
    }
    m_scriptEngine->reset();
    // The objects first: the file's top-level code may use them (y = VBA.Format(5, "000")), and
    // they stay usable when the file fails to load.
    for (const auto& [name, object] : m_namedObjects) {
        if (!m_scriptEngine->addObject(name, object)) {
            return false;
        }
    }
    return LoadCodeFile(m_codeFilePath);
}

bool CEval::LoadCodeFile(const QString& path) {
    if (path.isEmpty()) {
        return true;
    }
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        return true; // a missing script file is no failure
    }
    const auto text = platform::readTextFile(path);
    if (!text) {
        return false; // there, but unreadable
    }
    return m_scriptEngine->addCode(text->text);
}

bool CEval::RunCode(const QString& commandString, bool isRaiseError) {
    if (!Executable()) {
        return false;
    }
    m_lastResult.clear();
    bool failed = false;
    if (isCallStatement(commandString)) {
        failed = !m_scriptEngine->executeStatement(commandString);
    } else if (const auto text = m_scriptEngine->evalToText(commandString)) {
        m_lastResult = *text;
    } else {
        failed = true;
    }
    if (m_lastResult.isEmpty() && engine::IsBareWord(commandString)) {
        return false;
    }
    if (failed) {
        if (isRaiseError) {
            raiseError(m_scriptEngine->lastError());
        }
        return false;
    }
    return true;
}

void CEval::setRunWatcher(RunWatcher* watcher) {
    if (m_scriptEngine)
        m_scriptEngine->setRunWatcher(watcher);
}

bool CEval::IsScriptWord(const QString& word) const {
    return Executable() && m_scriptEngine->definesName(word);
}

bool CEval::UsesUnknownNameBeyondAscii(const QString& code) const {
    if (!Executable())
        return false;
    const std::optional<QStringList> names = m_scriptEngine->unknownNames(code);
    if (!names)
        return false;
    for (const QString& name : *names) {
        for (const QChar c : name) {
            if (c.unicode() >= 0x80)
                return true;
        }
    }
    return false;
}

bool CEval::IsCalculation(const QString& code) const {
    return Executable() && m_scriptEngine->isCalculation(code);
}

bool CEval::IsWordBeforeComment(const QString& code) const {
    return Executable() && m_scriptEngine->isNameOrNothingBeforeComment(code);
}

void CEval::raiseError(const ScriptErrorInfo& error) {
    qCInfo(lcScript).noquote() << "error" << error.number << error.description;
    if (m_errorHandler) {
        m_errorHandler(error.number, error.description);
    }
}

} // namespace script
