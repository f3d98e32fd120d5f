#include "script/CEval.h"
#include "script/VbsScriptEngine.h"

namespace script {

CEval::CEval(QObject* parent) : CEval(std::make_unique<VbsScriptEngine>(), parent) {}

} // namespace script
