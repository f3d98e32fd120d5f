#pragma once

// The node classes of the compiled tree. The parser builds them; Eval*.cpp run them.

#include "Ast.h"
#include "Operators.h"

namespace vbscript {

// ---- expressions ----

struct LiteralExpr final : Expr {
    explicit LiteralExpr(Value v) : value(std::move(v)) { shape = ExprShape::Literal; }
    Value eval(Frame&) override { return value; }
    Value value;
};

// A bare name: a variable, a constant, or a call without arguments.
struct NameExpr final : Expr {
    explicit NameExpr(NameRef* r) : ref(r) {
        mayReference = true;
        shape = ExprShape::Name;
    }
    Value eval(Frame& f) override;
    Value evalObject(Frame& f) override;
    Value* reference(Frame& f, Ref<ArrayData>* locked) override;
    void assign(Frame& f, Value v, bool isSet) override;
    void callStatement(Frame& f) override;
    NameRef* ref;
};

// name(args): an array element, a call, or an object's default member.
struct CallExpr final : Expr {
    CallExpr(NameRef* r, ExprList a) : ref(r), args(std::move(a)) {
        mayReference = true;
        if (args.size() == 1 && args[0])
            shape = ExprShape::Element;
    }
    Value eval(Frame& f) override;
    Value* reference(Frame& f, Ref<ArrayData>* locked) override;
    void assign(Frame& f, Value v, bool isSet) override;
    void callStatement(Frame& f) override;
    NameRef* ref;
    ExprList args;

private:
    // The cases beyond an array element and a script procedure, kept out of the fast path.
    Value evalOther(Frame& f);
    void assignOther(Frame& f, Value v, bool isSet);
};

// expr(args) where expr is not a bare name: f(1)(2), o.Items(1)(2).
struct ApplyExpr final : Expr {
    ApplyExpr(ExprPtr t, ExprList a) : target(std::move(t)), args(std::move(a)) {}
    Value eval(Frame& f) override;
    void assign(Frame& f, Value v, bool isSet) override;
    ExprPtr target;
    ExprList args;
};

// object.Name or object.Name(args).
struct MemberExpr final : Expr {
    MemberExpr(ExprPtr o, std::u16string n, ExprList a, bool p)
        : object(std::move(o)), name(std::move(n)), args(std::move(a)), hasParens(p) {}
    Value eval(Frame& f) override;
    Value evalObject(Frame& f) override;
    void assign(Frame& f, Value v, bool isSet) override;
    void callStatement(Frame& f) override;
    Value invoke(Frame& f, int kind, const Value* assigned);
    ExprPtr object;
    std::u16string name;
    ExprList args;
    bool hasParens;
    // Member id cached for the last object class seen here.
    const void* cachedKey = nullptr;
    int cachedId = -1;
};

// (expr): a value, never a reference.
struct ParenExpr final : Expr {
    explicit ParenExpr(ExprPtr e) : inner(std::move(e)) {}
    Value eval(Frame& f) override;
    ExprPtr inner;
};

// The object of the enclosing With.
struct WithObjectExpr final : Expr {
    explicit WithObjectExpr(int s) : slot(s) {}
    Value eval(Frame& f) override;
    int slot;
};

struct MeExpr final : Expr {
    Value eval(Frame& f) override;
};

struct NewExpr final : Expr {
    explicit NewExpr(std::u16string n) : className(std::move(n)) {}
    Value eval(Frame& f) override;
    std::u16string className;
};

enum class UnaryOp : uint8_t { Neg, Not };
struct UnaryExpr final : Expr {
    UnaryExpr(UnaryOp o, ExprPtr e) : op(o), operand(std::move(e)) {}
    Value eval(Frame& f) override;
    UnaryOp op;
    ExprPtr operand;
};

enum class BinaryOp : uint8_t {
    Pow,
    Mul,
    Div,
    IntDiv,
    Mod,
    Add,
    Sub,
    Concat,
    Eq,
    Ne,
    Lt,
    Gt,
    Le,
    Ge,
    Is,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
};
struct BinaryExpr : Expr {
    BinaryExpr(BinaryOp o, ExprPtr l, ExprPtr r) : op(o), left(std::move(l)), right(std::move(r)) {}
    Value eval(Frame& f) override;
    bool condition(Frame& f) override; // comparisons without a Boolean value in between
    BinaryOp op;
    ExprPtr left;
    ExprPtr right;
};

// A binary operator compiled for its operation, so that running it chooses nothing.
template <BinaryOp Op> struct OperatorExpr final : BinaryExpr {
    OperatorExpr(ExprPtr l, ExprPtr r) : BinaryExpr(Op, std::move(l), std::move(r)) {
        if constexpr (Op == BinaryOp::Add)
            shape = ExprShape::Sum;
        else if constexpr (Op == BinaryOp::Sub)
            shape = ExprShape::Difference;
    }
    Value eval(Frame& f) override;
    bool condition(Frame& f) override;
};

// The node for `left op right`: the common operators get their own node class.
ExprPtr makeBinary(BinaryOp op, ExprPtr left, ExprPtr right);

// Eval, Execute, ExecuteGlobal, GetRef: they need the caller's scope.
enum class Intrinsic : uint8_t { Eval, Execute, ExecuteGlobal, GetRef };
struct IntrinsicExpr final : Expr {
    IntrinsicExpr(Intrinsic k, ExprList a) : kind(k), args(std::move(a)) {}
    Value eval(Frame& f) override;
    Intrinsic kind;
    ExprList args;
};

// ---- statements ----

struct ExprStmt final : Stmt {
    explicit ExprStmt(ExprPtr e) : expr(std::move(e)) {}
    Flow exec(Frame& f) override;
    ExprPtr expr;
};

struct AssignStmt final : Stmt {
    AssignStmt(ExprPtr t, ExprPtr v, bool s) : target(std::move(t)), value(std::move(v)), isSet(s) {
        if (auto* bare = dynamic_cast<NameExpr*>(target.get()))
            name = bare->ref;
    }
    Flow exec(Frame& f) override;
    ExprPtr target;
    ExprPtr value;
    bool isSet;
    NameRef* name = nullptr; // a bare name: stored straight into its slot when it is a local
};

// x = x & tail: appends in place when x holds text of its own.
struct AppendStmt final : Stmt {
    AppendStmt(ExprPtr t, ExprPtr v) : target(std::move(t)), tail(std::move(v)) {}
    Flow exec(Frame& f) override;
    ExprPtr target;
    ExprPtr tail;
};

struct IfStmt final : Stmt {
    struct Branch {
        ExprPtr condition;
        Block body;
    };
    Flow exec(Frame& f) override;
    std::vector<Branch> branches;
    Block elseBody;
};

struct ForStmt final : Stmt {
    Flow exec(Frame& f) override;
    ExprPtr counter;
    ExprPtr from, to, step;
    Block body;
};

struct ForEachStmt final : Stmt {
    Flow exec(Frame& f) override;
    ExprPtr element;
    ExprPtr collection;
    Block body;
};

struct DoStmt final : Stmt {
    Flow exec(Frame& f) override;
    ExprPtr condition; // nullptr: no condition
    bool isUntil = false;
    bool testFirst = true;
    bool isWhileWend = false; // Exit Do passes through to an enclosing Do
    Block body;
};

struct SelectStmt final : Stmt {
    struct Case {
        ExprList tests;
        Block body;
    };
    Flow exec(Frame& f) override;
    ExprPtr subject;
    std::vector<Case> cases;
    Block elseBody;
};

struct WithStmt final : Stmt {
    Flow exec(Frame& f) override;
    ExprPtr object;
    int slot = -1;
    Block body;
};

struct ExitStmt final : Stmt {
    explicit ExitStmt(Flow k) : kind(k) {}
    Flow exec(Frame&) override { return kind; }
    Flow kind;
};

// Dim a(3), ReDim [Preserve] a(n, m).
struct DimStmt final : Stmt {
    struct Item {
        ExprPtr target;
        ExprList bounds; // upper bounds
    };
    Flow exec(Frame& f) override;
    std::vector<Item> items;
    bool isReDim = false;
    bool preserve = false;
};

struct EraseStmt final : Stmt {
    explicit EraseStmt(ExprPtr t) : target(std::move(t)) {}
    Flow exec(Frame& f) override;
    ExprPtr target;
};

struct OnErrorStmt final : Stmt {
    explicit OnErrorStmt(bool r) : resumeNext(r) {}
    Flow exec(Frame& f) override;
    bool resumeNext;
};

struct NoopStmt final : Stmt {
    Flow exec(Frame&) override { return Flow::Normal; }
};

} // namespace vbscript
