#pragma once

// Builds the tree of a unit of code. Names stay unbound here (the interpreter binds them
// against its globals); syntax errors are raised as ScriptError with line and column.

#include "Ast.h"

#include <string_view>

namespace vbscript {

// Statements, procedures and classes.
Ref<Program> parseProgram(std::u16string_view source);
// One expression (Eval); the program's `expression` holds it.
Ref<Program> parseExpression(std::u16string_view source);

} // namespace vbscript
