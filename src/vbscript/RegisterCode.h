#pragma once

// Register code: a procedure body (or a unit's top level) compiled from the bound tree into a
// flat list of instructions over the frame's slots. Locals, parameters, constants and global
// cells are operands read where they are stored; temporaries are extra slots after the
// locals. Assignments, If, For, Do, the common operators, array elements, appends and calls of
// script procedures become instructions; every other statement or expression stays a tree
// node that an instruction runs, so the tree remains the one definition of the language's
// rules and this code only takes the shortcuts the tree takes itself.
//
// A body that contains On Error is not compiled: resuming after a failing statement belongs
// to the tree's statement lists.

#include "Nodes.h"

#include <deque>
#include <memory>
#include <vector>

namespace vbscript {

enum class Loc : uint8_t { Local, Param, Const, Global };

// Where an instruction reads or writes a value. `node` is the tree's expression for the
// cases the shortcut does not cover (a global that is no variable, an assignment the tree
// must make).
struct Operand {
    Loc loc = Loc::Local;
    bool temp = false; // a temporary: emptied once used, as the tree's temporaries end
    int32_t index = 0;
    int64_t bytes = 0; // index scaled to the frame's locals or parameters, once linked
    GlobalCell* cell = nullptr;
    const Value* constant = nullptr;
    Expr* node = nullptr;
};

struct Instr;
struct Machine;
// Runs one instruction and gives the next (nullptr: the code ends). Each is made for its
// operator and the places of its operands, so running it chooses nothing.
using Handler = const Instr* (*)(const Instr*, Frame&, Machine&);

enum class OpCode : uint8_t {
    Binary,       // dst = a op b (the handler is chosen per operator and operand places)
    Copy,         // dst = a, as a value (an operand read before the right side runs)
    Store,        // dst = a, as an assignment (an object gives its default value)
    Eval,         // dst = node's value
    Exec,         // runs the statement node
    Jump,         // to target; with sense, the end of a Do loop's pass
    JumpIf,       // to target when node's condition == sense
    CompareJump,  // to target when (a op b holds) == sense
    ForPrep,      // starts a For loop; to target when it runs no pass
    ForLoop,      // steps a For loop; back to target while it goes on
    GuardCall,    // holds the procedure of cell; to target when the name is none now
    Call,         // dst = the held procedure called with slots index.. index+count-1
    Element,      // dst = a(b), or a(b + c) / a(b - c) when count is 2; a variable dst
                  // takes it as an assignment
    StoreElement, // dst(b [+-] c) = a, as an assignment
    Append,       // dst = dst & a, in place (node: the append statement, for anything else)
    Return,
};

struct Instr {
    Handler run = nullptr;
    OpCode op = OpCode::Return;
    BinaryOp binary = BinaryOp::Add;
    bool sense = false;
    uint8_t count = 0;
    int32_t target = -1;
    // Where an Exec'd statement's Exit For / Exit Do continues; -1 leaves the procedure.
    int32_t exitFor = -1;
    int32_t exitDo = -1;
    int32_t offset = 0; // a whole constant operand, when the code is linked (see its handler)
    const Instr* jump = nullptr; // target, once linked
    const Instr* forExit = nullptr;
    const Instr* doExit = nullptr;
    Operand dst, a, b, c;
    Node* node = nullptr;
    const Stmt* stmt = nullptr; // the statement an error is placed at
};

// Calls with more arguments stay with the tree.
inline constexpr size_t kMaxCallArgs = 8;

struct RegisterCode {
    std::vector<Instr> code;
    std::deque<Value> constants; // stable: operands point at them
    int frameSlots = 0;          // locals and temporaries
    size_t paramCount = 0;       // checked at each call: the name may be another procedure now
    Handler entry = nullptr;     // a Call of this code made for its sizes, when they are small
};

// Compiles the procedure's body when it can (sets proc.code); the tree stays as it is.
void compileRegisterCode(Procedure& proc);

// Whether code bound from now on is compiled (the default). Off, everything runs on the tree:
// both must behave alike, which the tests and the fuzzer compare.
void setRegisterCodeEnabled(bool enabled);

// Chooses each instruction's handler and resolves its jumps (the code is final).
void linkRegisterCode(RegisterCode& code);

// Runs compiled code in a frame whose locals hold code.frameSlots values.
Flow runRegisterCode(const RegisterCode& code, Frame& f);

} // namespace vbscript
