#include "script/CEval.h"

#include "platform/TextCodec.h"

#include <QFileInfo>

namespace script {

namespace {

constexpr long kInvalidPropertyValue = 380;

// "CALL*": the line begins with the letters C, A, L, L in any case, blank or not.
bool isCallStatement(const QString& code) {
    return code.left(4).compare(QLatin1String("CALL"), Qt::CaseInsensitive) == 0;
}

// Letters and digits only (also the empty text): a bare word, which evaluates to Empty. Letters
// beyond ASCII count too: the engine takes Japanese words for names, and prose such as "今日は晴れ"
// must not vanish as an empty result instead of going to the memo.
bool isBareWord(const QString& code) {
    for (const QChar c : code) {
        const char16_t u = c.toUpper().unicode();
        const bool asciiWordChar = (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9');
        if (!asciiWordChar && (u < 0x80 || !c.isLetterOrNumber())) {
            return false;
        }
    }
    return true;
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
    if (!LoadCodeFile(m_codeFilePath)) {
        return false;
    }
    for (const auto& [name, object] : m_namedObjects) {
        if (!m_scriptEngine->addObject(name, object)) {
            return false;
        }
    }
    return true;
}

bool CEval::LoadCodeFile(const QString& path) {
    if (path.isEmpty()) {
        return true;
    }
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
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
    if (m_lastResult.isEmpty() && isBareWord(commandString)) {
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

void CEval::raiseError(const ScriptErrorInfo& error) {
    emit Error(error.number, error.description);
    if (m_errorHandler) {
        m_errorHandler(error.number, error.description);
    }
}

} // namespace script
