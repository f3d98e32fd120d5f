#pragma once

// The compiled form of a script: a tree whose names are bound to slots (locals, parameters,
// class fields) or to global cells before it runs. Nodes evaluate themselves.

#include "Builtins.h"
#include "Value.h"

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vbscript {

class Interpreter;
class ScriptObject;
struct Procedure;
struct ClassInfo;
struct Frame;
struct RegisterCode;

// A global name: a variable, a constant, a procedure, a builtin or a named object. Compiled
// code points at cells directly, so a global costs no look-up when it runs.
struct GlobalCell {
    std::u16string name;
    Value value;
    // Written only through the setters below, which keep isVariable in step.
    Procedure* proc = nullptr;
    const BuiltinFunction* builtin = nullptr;
    bool declared = false; // Dim, Const, a procedure, an assignment at global level
    bool isConst = false;
    // Declared and neither a procedure nor a builtin: a variable read in place. One flag, so
    // that the hot path of every global read tests one byte.
    bool isVariable = false;
    // A variable and no constant: written in place, after a test of this one byte.
    bool isWritable = false;

    void setDeclared() {
        declared = true;
        setVariable(!proc && !builtin);
    }
    void setProcedure(Procedure* p) {
        proc = p;
        builtin = nullptr;
        setVariable(declared && !proc);
    }
    void setBuiltin(const BuiltinFunction* fn) {
        builtin = fn;
        setVariable(declared && !proc && !builtin);
    }
    void setConst() {
        isConst = true;
        isWritable = false;
    }

private:
    void setVariable(bool variable) {
        isVariable = variable;
        isWritable = variable && !isConst;
    }
};

enum class Flow : uint8_t { Normal, ExitDo, ExitFor, ExitProc };

struct Node {
    int line = 0;
    int column = 0;
};

// Nodes whose value can be read in place (see Operand.h), sums whose whole-number case an
// array index computes without building a Value, and name(index) forms that may be an element.
enum class ExprShape : uint8_t { Other, Literal, Name, Sum, Difference, Element };

struct Expr : Node {
    virtual ~Expr() = default;
    virtual Value eval(Frame& f) = 0;
    // The storage behind a variable or an array element, for passing by reference; nullptr
    // for anything else. `lockedArray` receives the array that must not be resized meanwhile.
    virtual Value* reference(Frame&, Ref<ArrayData>*) { return nullptr; }
    // Assignment to the expression (x = v, a(i) = v, o.p = v, Set x = v).
    virtual void assign(Frame& f, Value v, bool isSet);
    // Run as a statement ("Foo 1, 2", "o.Bar"): calls without needing a value.
    virtual void callStatement(Frame& f) { eval(f); }
    // Set by the nodes that override reference(): argument passing asks no other node.
    bool mayReference = false;
    ExprShape shape = ExprShape::Other;
    // Evaluation for Set: objects stay objects, nothing reads a default member.
    virtual Value evalObject(Frame& f) { return eval(f); }
    // The truth of the expression as an If or loop condition (Null is False).
    virtual bool condition(Frame& f);
};
using ExprPtr = std::unique_ptr<Expr>;
using ExprList = std::vector<ExprPtr>;

struct Stmt : Node {
    virtual ~Stmt() = default;
    virtual Flow exec(Frame& f) = 0;
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

// How a name was bound by the compiler.
enum class Binding : uint8_t {
    Unresolved,
    Local,    // slot in the frame
    Param,    // parameter, through its reference
    Global,   // cell
    Dynamic,  // undeclared inside a procedure: the global cell if it exists then, else a local
    Field,    // field of Me
    Method,   // procedure of Me's class
    Constant, // literal value
    Outer,    // local of the procedure that ran Execute or Eval
    OuterParam,
};

struct NameRef {
    std::u16string name;
    Binding binding = Binding::Unresolved;
    int slot = -1;
    GlobalCell* cell = nullptr;
    int member = -1; // Method: index in the class's member table
    Value constant;
    bool declareLocal = false; // ReDim of an unknown name declares it
    bool isCallee = false;     // written with arguments or parentheses: never the result slot
    bool strict = false;       // Option Explicit: undeclared names raise 500
};

enum class ProcKind : uint8_t { TopLevel, Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct Param {
    std::u16string name;
    bool byRef = true;
};

struct Procedure {
    std::u16string name;
    ProcKind kind = ProcKind::Sub;
    std::vector<Param> params;
    std::vector<std::u16string> localNames; // params first, then Dims, then hidden slots
    std::vector<NameRef*> refs;             // names to bind once the procedure is parsed
    int resultSlot = -1;
    bool hasByValParams = false;
    Block body;
    ClassInfo* owner = nullptr;
    bool isPublic = true;
    bool isDefault = false;
    int line = 0;
    std::vector<std::pair<std::u16string, Value>> constants;
    // The body compiled to register code (RegisterCode.h), when it could be.
    std::shared_ptr<const RegisterCode> code;

    int localCount() const { return static_cast<int>(localNames.size()); }
    // Slots a frame of this procedure holds: its locals and the code's temporaries.
    int frameSlots() const;
    int addLocal(std::u16string name) {
        localNames.push_back(std::move(name));
        return localCount() - 1;
    }
};

struct ClassMember {
    std::u16string name;
    int field = -1;              // a Public/Private/Dim variable
    Procedure* method = nullptr; // Sub, Function or Property Get
    Procedure* let = nullptr;
    Procedure* set = nullptr;
    bool isPublic = true;
};

struct FieldDecl {
    std::u16string name;
    std::vector<int32_t> dims; // Dim a(3): a fixed array
    bool isArray = false;
};

struct ClassInfo {
    std::u16string name;
    std::vector<FieldDecl> fields;
    std::vector<ClassMember> members;
    std::unordered_map<std::u16string, int> memberIndex; // folded name -> member
    int defaultMember = -1;
    Procedure* initialize = nullptr;
    Procedure* terminate = nullptr;
    struct Program* program = nullptr;

    int findMember(std::u16string_view name) const;
};

// One compiled unit of code (a file, a statement, an expression).
struct Program : RefCounted {
    std::vector<std::unique_ptr<Procedure>> procedures;
    std::vector<std::unique_ptr<ClassInfo>> classes;
    std::unique_ptr<Procedure> topLevel;
    std::vector<std::unique_ptr<NameRef>> nameRefs;
    std::vector<std::u16string> globalNames; // Dim, Public, Private, ReDim at global level
    ExprPtr expression;                      // set for Eval units
    bool optionExplicit = false;
};

} // namespace vbscript
