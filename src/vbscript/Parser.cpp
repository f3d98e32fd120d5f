#include "Parser.h"

#include "Lexer.h"
#include "Nodes.h"
#include "ScriptError.h"
#include "StackGuard.h"
#include "Text.h"

namespace vbscript {

namespace {

// Syntax error numbers.
constexpr int kSyntax = 1002;
constexpr int kExpectedLParen = 1005;
constexpr int kExpectedRParen = 1006;
constexpr int kExpectedIdentifier = 1010;
constexpr int kExpectedEq = 1011;
constexpr int kExpectedIf = 1012;
constexpr int kExpectedTo = 1013;
constexpr int kExpectedEnd = 1014;
constexpr int kExpectedFunction = 1015;
constexpr int kExpectedSub = 1016;
constexpr int kExpectedThen = 1017;
constexpr int kExpectedWend = 1018;
constexpr int kExpectedLoop = 1019;
constexpr int kExpectedNext = 1020;
constexpr int kExpectedCase = 1021;
constexpr int kExpectedSelect = 1022;
constexpr int kExpectedExpression = 1023;
constexpr int kExpectedStatement = 1024;
constexpr int kExpectedEndOfStatement = 1025;
constexpr int kExpectedInteger = 1026;
constexpr int kExpectedWith = 1029;
constexpr int kInvalidExit = 1039;
constexpr int kInvalidForVariable = 1040;
constexpr int kNameRedefined = 1041;
constexpr int kNoParensForSub = 1044;
constexpr int kExpectedLiteral = 1045;
constexpr int kExpectedIn = 1046;
constexpr int kExpectedClass = 1047;
constexpr int kExpectedPropertyKind = 1049;
constexpr int kExpectedProperty = 1050;
constexpr int kMultipleDefault = 1052;
constexpr int kInitNoArgs = 1053;
constexpr int kLetNeedsArg = 1054;
constexpr int kUnexpectedNext = 1055;
constexpr int kDefaultNeedsPublic = 1057;
constexpr int kDefaultOnlyGet = 1058;

class Parser {
public:
    Parser(std::vector<Token> tokens, Program& program) : m_t(std::move(tokens)), m_prog(program) {}

    void program() {
        m_prog.topLevel = std::make_unique<Procedure>();
        m_prog.topLevel->kind = ProcKind::TopLevel;
        m_proc = m_prog.topLevel.get();
        skipSeparators();
        while (cur().type != Tok::End) {
            topLevelStatement(m_prog.topLevel->body);
            endOfStatement();
            skipSeparators();
        }
    }

    void expressionOnly() {
        m_prog.topLevel = std::make_unique<Procedure>();
        m_prog.topLevel->kind = ProcKind::TopLevel;
        m_proc = m_prog.topLevel.get();
        m_prog.expression = expression();
        if (cur().type != Tok::End)
            fail(kExpectedEndOfStatement);
    }

private:
    // ---- tokens ----
    const Token& cur() const { return m_t[m_pos]; }
    const Token& peekTok(size_t n = 1) const { return m_t[std::min(m_pos + n, m_t.size() - 1)]; }
    void advance() {
        if (m_pos + 1 < m_t.size())
            ++m_pos;
    }
    bool isKw(Kw k) const {
        return cur().type == Tok::Name && !cur().bracketed && cur().keyword == k;
    }
    bool isKwAt(size_t n, Kw k) const {
        const Token& t = peekTok(n);
        return t.type == Tok::Name && !t.bracketed && t.keyword == k;
    }
    bool accept(Kw k) {
        if (!isKw(k))
            return false;
        advance();
        return true;
    }
    bool accept(Tok t) {
        if (cur().type != t)
            return false;
        advance();
        return true;
    }
    void expect(Kw k, int error) {
        if (!accept(k))
            fail(error);
    }
    void expect(Tok t, int error) {
        if (!accept(t))
            fail(error);
    }
    [[noreturn]] void fail(int number) { failAt(number, cur()); }
    [[noreturn]] void failAt(int number, const Token& at) {
        ScriptError e(number, errorDescription(number), std::u16string(kCompileSource));
        e.line = at.line;
        e.column = at.column;
        throw e;
    }
    bool atStatementEnd() const {
        const Tok t = cur().type;
        return t == Tok::Newline || t == Tok::Colon || t == Tok::End;
    }
    // "End Sub", "End Function", "End Property" and "End Class" may follow a statement on its
    // line without a separator.
    bool atDefinitionEnd() const {
        return isKw(Kw::End) && (isKwAt(1, Kw::Sub) || isKwAt(1, Kw::Function) ||
                                 isKwAt(1, Kw::Property) || isKwAt(1, Kw::Class));
    }
    void endOfStatement() {
        if (atDefinitionEnd())
            return;
        if (m_singleLine) {
            // Inside a one-line If: Else and the line end close the statement too.
            if (atStatementEnd() || isKw(Kw::Else) || (isKw(Kw::End) && isKwAt(1, Kw::If)))
                return;
            fail(kExpectedEndOfStatement);
        }
        if (!atStatementEnd())
            fail(kExpectedEndOfStatement);
    }
    void skipSeparators() {
        while (cur().type == Tok::Newline || cur().type == Tok::Colon)
            advance();
    }
    // A name usable as an identifier.
    std::u16string identifier() {
        if (cur().type != Tok::Name || (!cur().bracketed && isReservedKeyword(cur().keyword)))
            fail(kExpectedIdentifier);
        std::u16string name = cur().text;
        advance();
        return name;
    }
    // After '.', any word names a member.
    std::u16string memberName() {
        if (cur().type != Tok::Name)
            fail(kExpectedIdentifier);
        std::u16string name = cur().text;
        advance();
        return name;
    }

    template <class T> std::unique_ptr<T> at(std::unique_ptr<T> node, const Token& t) {
        node->line = t.line;
        node->column = t.column;
        return node;
    }

    NameRef* nameRef(std::u16string name, bool callee) {
        auto r = std::make_unique<NameRef>();
        r->name = std::move(name);
        r->isCallee = callee;
        NameRef* p = r.get();
        m_prog.nameRefs.push_back(std::move(r));
        m_proc->refs.push_back(p);
        return p;
    }

    // ---- statements ----

    void topLevelStatement(Block& out) {
        checkStack();
        if (isKw(Kw::Option)) {
            advance();
            if (!isKw(Kw::Explicit))
                fail(kSyntax);
            advance();
            m_prog.optionExplicit = true;
            return;
        }
        bool isPublic = true;
        bool hasVisibility = false;
        const Token& start = cur();
        if (isKw(Kw::Public) || isKw(Kw::Private)) {
            isPublic = isKw(Kw::Public);
            hasVisibility = true;
            advance();
        }
        bool isDefault = false;
        if (isKw(Kw::Default)) {
            if (!hasVisibility || !isPublic)
                fail(kDefaultNeedsPublic);
            isDefault = true;
            advance();
        }
        if (isKw(Kw::Function) || isKw(Kw::Sub) || isKw(Kw::Property)) {
            if (m_class == nullptr && isKw(Kw::Property))
                fail(1048);
            procedure(isPublic, isDefault);
            return;
        }
        if (isDefault)
            fail(1056);
        if (isKw(Kw::Class)) {
            if (hasVisibility || m_class)
                fail(kSyntax);
            classDefinition();
            return;
        }
        if (hasVisibility) {
            if (isKw(Kw::Const)) {
                constStatement();
                return;
            }
            variableDeclarations(out, start, isPublic);
            return;
        }
        statement(out);
    }

    void statement(Block& out) {
        checkStack();
        const Token& start = cur();
        if (cur().type == Tok::WithDot || cur().type == Tok::LParen ||
            (cur().type == Tok::Name &&
             (cur().bracketed || cur().keyword == Kw::None || cur().keyword == Kw::Me ||
              cur().keyword == Kw::Nothing || !isReservedKeyword(cur().keyword)))) {
            if (isKw(Kw::Stop)) {
                advance();
                out.push_back(at(std::make_unique<NoopStmt>(), start));
                return;
            }
            assignmentOrCall(out, start, false);
            return;
        }
        if (cur().type != Tok::Name)
            fail(kExpectedStatement);
        switch (cur().keyword) {
        case Kw::Dim:
            advance();
            variableDeclarations(out, start, true);
            return;
        case Kw::ReDim:
            reDim(out, start);
            return;
        case Kw::Const:
            constStatement();
            return;
        case Kw::Set: {
            advance();
            ExprPtr target = postfixTarget();
            expect(Tok::Eq, kExpectedEq);
            ExprPtr value = expression();
            out.push_back(
                at(std::make_unique<AssignStmt>(std::move(target), std::move(value), true), start));
            return;
        }
        case Kw::Call: {
            advance();
            ExprPtr target = postfixTarget();
            out.push_back(at(std::make_unique<ExprStmt>(std::move(target)), start));
            return;
        }
        case Kw::If:
            ifStatement(out, start);
            return;
        case Kw::Select:
            selectStatement(out, start);
            return;
        case Kw::For:
            forStatement(out, start);
            return;
        case Kw::Do:
            doStatement(out, start);
            return;
        case Kw::While:
            whileStatement(out, start);
            return;
        case Kw::With:
            withStatement(out, start);
            return;
        case Kw::Exit:
            exitStatement(out, start);
            return;
        case Kw::On:
            onError(out, start);
            return;
        case Kw::Erase: {
            advance();
            ExprPtr target = at(std::make_unique<NameExpr>(nameRef(identifier(), false)), start);
            out.push_back(at(std::make_unique<EraseStmt>(std::move(target)), start));
            return;
        }
        case Kw::Next:
            fail(kUnexpectedNext);
        case Kw::Loop:
            fail(1038);
        case Kw::Function:
        case Kw::Sub:
            // A procedure written inside a block (If ... End If) is still one of the script's.
            if (m_proc == m_prog.topLevel.get() && !m_class) {
                procedure(true, false);
                return;
            }
            fail(kSyntax);
        case Kw::Class:
        case Kw::Public:
        case Kw::Private:
        case Kw::Option:
            fail(kSyntax);
        default:
            fail(kExpectedStatement);
        }
    }

    // Statements up to one of the words that close a block (not consumed).
    template <class StopFn> void block(Block& out, StopFn stop) {
        for (;;) {
            skipSeparators();
            if (cur().type == Tok::End || stop())
                return;
            statement(out);
            endOfStatement();
        }
    }

    void assignmentOrCall(Block& out, const Token& start, bool) {
        const size_t begin = m_pos;
        size_t lastParen = 0;
        ExprPtr target = postfixTarget(&lastParen);
        if (accept(Tok::Eq)) {
            ExprPtr value = expression();
            out.push_back(assignment(std::move(target), std::move(value), start));
            return;
        }
        if (!atStatementEnd() && !(m_singleLine && isKw(Kw::Else))) {
            // "Foo (1) + 2, 3": the parenthesis belonged to the first argument.
            if (lastParen) {
                m_pos = begin;
                m_stopAt = lastParen;
                target = postfixTarget();
                m_stopAt = 0;
            }
            ExprList args = argumentsWithoutParens();
            target = withArguments(std::move(target), std::move(args), start);
            out.push_back(at(std::make_unique<ExprStmt>(std::move(target)), start));
            return;
        }
        // "Foo(a, b)" as a statement is an error; "Foo(a)" passes a by value.
        ExprList* args = nullptr;
        if (auto* c = dynamic_cast<CallExpr*>(target.get()))
            args = &c->args;
        else if (auto* m = dynamic_cast<MemberExpr*>(target.get()); m && m->hasParens)
            args = &m->args;
        else if (auto* i = dynamic_cast<IntrinsicExpr*>(target.get()); i && m_lastHadParens)
            args = &i->args;
        if (args && lastParen) {
            if (args->size() > 1)
                failAt(kNoParensForSub, m_t[lastParen]);
            if (args->size() == 1 && (*args)[0]) {
                auto inner = std::move((*args)[0]);
                const int line = inner->line, col = inner->column;
                (*args)[0] = std::make_unique<ParenExpr>(std::move(inner));
                (*args)[0]->line = line;
                (*args)[0]->column = col;
            }
        }
        out.push_back(at(std::make_unique<ExprStmt>(std::move(target)), start));
    }

    StmtPtr assignment(ExprPtr target, ExprPtr value, const Token& start) {
        // x = x & tail appends in place.
        if (auto* name = dynamic_cast<NameExpr*>(target.get())) {
            if (auto* bin = dynamic_cast<BinaryExpr*>(value.get());
                bin && bin->op == BinaryOp::Concat) {
                if (auto* left = dynamic_cast<NameExpr*>(bin->left.get());
                    left && equalsIgnoreCase(left->ref->name, name->ref->name)) {
                    return at(
                        std::make_unique<AppendStmt>(std::move(target), std::move(bin->right)),
                        start);
                }
            }
        }
        return at(std::make_unique<AssignStmt>(std::move(target), std::move(value), false), start);
    }

    // Attaches a statement's argument list to the callee.
    ExprPtr withArguments(ExprPtr target, ExprList args, const Token& start) {
        if (auto* n = dynamic_cast<NameExpr*>(target.get())) {
            n->ref->isCallee = true;
            return at(std::make_unique<CallExpr>(n->ref, std::move(args)), start);
        }
        if (auto* m = dynamic_cast<MemberExpr*>(target.get());
            m && !m->hasParens && m->args.empty()) {
            m->args = std::move(args);
            m->hasParens = true;
            return target;
        }
        if (auto* i = dynamic_cast<IntrinsicExpr*>(target.get()); i && i->args.empty()) {
            i->args = std::move(args);
            return target;
        }
        return at(std::make_unique<ApplyExpr>(std::move(target), std::move(args)), start);
    }

    ExprList argumentsWithoutParens() {
        ExprList args;
        for (;;) {
            if (cur().type == Tok::Comma) {
                args.push_back(nullptr);
                advance();
                continue;
            }
            args.push_back(expression());
            if (!accept(Tok::Comma))
                break;
            if (atStatementEnd())
                args.push_back(nullptr);
        }
        return args;
    }

    void variableDeclarations(Block& out, const Token& start, bool isPublic) {
        auto stmt = at(std::make_unique<DimStmt>(), start);
        do {
            const Token& nameTok = cur();
            std::u16string name = identifier();
            std::vector<int32_t> dims;
            bool isArray = false;
            if (accept(Tok::LParen)) {
                isArray = true;
                if (!accept(Tok::RParen)) {
                    do {
                        if (cur().type != Tok::Literal ||
                            !(cur().value.type() == VarType::Integer ||
                              cur().value.type() == VarType::Long))
                            fail(kExpectedInteger);
                        dims.push_back(cur().value.type() == VarType::Integer
                                           ? cur().value.asInteger()
                                           : cur().value.asLong());
                        advance();
                    } while (accept(Tok::Comma));
                    expect(Tok::RParen, kExpectedRParen);
                }
            }
            declare(name, nameTok, isPublic, dims, isArray);
            if (isArray && !m_class) {
                DimStmt::Item item;
                item.target = at(std::make_unique<NameExpr>(nameRef(name, false)), nameTok);
                for (int32_t d : dims)
                    item.bounds.push_back(std::make_unique<LiteralExpr>(Value::longValue(d)));
                stmt->items.push_back(std::move(item));
            }
        } while (accept(Tok::Comma));
        if (!stmt->items.empty())
            out.push_back(std::move(stmt));
    }

    void declare(const std::u16string& name, const Token& at, bool isPublic,
                 const std::vector<int32_t>& dims, bool isArray) {
        if (m_class && m_proc == m_prog.topLevel.get()) {
            const std::u16string key = foldCase(name);
            if (m_class->memberIndex.count(key))
                failAt(kNameRedefined, at);
            FieldDecl field;
            field.name = name;
            field.dims = dims;
            field.isArray = isArray; // Dim a() is an empty dynamic array
            m_class->fields.push_back(std::move(field));
            ClassMember member;
            member.name = name;
            member.field = static_cast<int>(m_class->fields.size()) - 1;
            member.isPublic = isPublic;
            m_class->members.push_back(member);
            m_class->memberIndex[key] = static_cast<int>(m_class->members.size()) - 1;
            return;
        }
        if (m_proc->kind == ProcKind::TopLevel) {
            m_prog.globalNames.push_back(name);
            return;
        }
        for (const auto& existing : m_proc->localNames)
            if (equalsIgnoreCase(existing, name))
                failAt(kNameRedefined, at);
        m_proc->addLocal(name);
    }

    void reDim(Block& out, const Token& start) {
        advance();
        auto stmt = at(std::make_unique<DimStmt>(), start);
        stmt->isReDim = true;
        stmt->preserve = accept(Kw::Preserve);
        do {
            const Token& nameTok = cur();
            std::u16string name = identifier();
            DimStmt::Item item;
            NameRef* ref = nameRef(name, false);
            ref->declareLocal = true;
            // ReDim declares the name where it stands: at global level, a global.
            if (m_proc->kind == ProcKind::TopLevel)
                m_prog.globalNames.push_back(name);
            item.target = at(std::make_unique<NameExpr>(ref), nameTok);
            expect(Tok::LParen, kExpectedLParen);
            do {
                item.bounds.push_back(expression());
            } while (accept(Tok::Comma));
            expect(Tok::RParen, kExpectedRParen);
            stmt->items.push_back(std::move(item));
        } while (accept(Tok::Comma));
        out.push_back(std::move(stmt));
    }

    void constStatement() {
        advance(); // Const
        do {
            const Token& nameTok = cur();
            std::u16string name = identifier();
            expect(Tok::Eq, kExpectedEq);
            Value value = constantValue();
            auto& list = m_proc->constants;
            for (const auto& c : list)
                if (equalsIgnoreCase(c.first, name))
                    failAt(kNameRedefined, nameTok);
            list.emplace_back(name, std::move(value));
        } while (accept(Tok::Comma));
    }

    Value constantValue() {
        bool negative = false;
        while (cur().type == Tok::Minus || cur().type == Tok::Plus) {
            negative ^= cur().type == Tok::Minus;
            advance();
        }
        Value v;
        if (cur().type == Tok::Literal) {
            v = cur().value;
        } else if (accept(Tok::LParen)) {
            v = constantValue();
            if (cur().type != Tok::RParen)
                fail(kExpectedRParen);
        } else if (isKw(Kw::True)) {
            v = Value::boolean(true);
        } else if (isKw(Kw::False)) {
            v = Value::boolean(false);
        } else if (isKw(Kw::Empty)) {
            v = Value();
        } else if (isKw(Kw::Null)) {
            v = Value::null();
        } else if (isKw(Kw::Nothing)) {
            v = Value::nothing();
        } else {
            fail(kExpectedLiteral);
        }
        advance();
        return negative ? ops::negate(v) : v;
    }

    void ifStatement(Block& out, const Token& start) {
        advance();
        auto stmt = at(std::make_unique<IfStmt>(), start);
        IfStmt::Branch first;
        first.condition = expression();
        expect(Kw::Then, kExpectedThen);
        // Anything after Then on its line, even a lone ':', makes a one-line If.
        if (cur().type != Tok::Newline && cur().type != Tok::End) {
            // One-line If: statements separated by ':' up to the line end, with an optional Else.
            const bool outer = m_singleLine;
            m_singleLine = true;
            singleLineStatements(first.body);
            stmt->branches.push_back(std::move(first));
            if (accept(Kw::Else))
                singleLineStatements(stmt->elseBody);
            if (isKw(Kw::End) && isKwAt(1, Kw::If)) {
                advance();
                advance();
            }
            m_singleLine = outer;
            out.push_back(std::move(stmt));
            return;
        }
        const bool outer = m_singleLine;
        m_singleLine = false;
        auto stop = [this] {
            return isKw(Kw::ElseIf) || isKw(Kw::Else) || (isKw(Kw::End) && isKwAt(1, Kw::If));
        };
        block(first.body, stop);
        stmt->branches.push_back(std::move(first));
        while (accept(Kw::ElseIf)) {
            IfStmt::Branch b;
            b.condition = expression();
            expect(Kw::Then, kExpectedThen);
            block(b.body, stop);
            stmt->branches.push_back(std::move(b));
        }
        if (accept(Kw::Else))
            block(stmt->elseBody, [this] { return isKw(Kw::End) && isKwAt(1, Kw::If); });
        expect(Kw::End, kExpectedEnd);
        expect(Kw::If, kExpectedIf);
        m_singleLine = outer;
        out.push_back(std::move(stmt));
    }

    void singleLineStatements(Block& out) {
        for (;;) {
            if (cur().type == Tok::Newline || cur().type == Tok::End || isKw(Kw::Else) ||
                atDefinitionEnd())
                return;
            if (accept(Tok::Colon))
                continue;
            if (isKw(Kw::End) && isKwAt(1, Kw::If))
                return;
            statement(out);
            endOfStatement();
        }
    }

    // Block statements may not sit inside a one-line If.
    void requireBlockContext() {
        if (m_singleLine)
            fail(kSyntax);
    }

    void selectStatement(Block& out, const Token& start) {
        requireBlockContext();
        advance();
        expect(Kw::Case, kExpectedCase);
        auto stmt = at(std::make_unique<SelectStmt>(), start);
        stmt->subject = expression();
        endOfStatement();
        skipSeparators();
        auto stop = [this] { return isKw(Kw::Case) || (isKw(Kw::End) && isKwAt(1, Kw::Select)); };
        bool sawElse = false;
        while (accept(Kw::Case)) {
            if (sawElse)
                fail(kExpectedEnd);
            if (accept(Kw::Else)) {
                sawElse = true;
                block(stmt->elseBody, stop);
                continue;
            }
            SelectStmt::Case c;
            do {
                c.tests.push_back(expression());
            } while (accept(Tok::Comma));
            block(c.body, stop);
            stmt->cases.push_back(std::move(c));
        }
        expect(Kw::End, kExpectedEnd);
        expect(Kw::Select, kExpectedSelect);
        out.push_back(std::move(stmt));
    }

    void forStatement(Block& out, const Token& start) {
        requireBlockContext();
        advance();
        if (accept(Kw::Each)) {
            auto stmt = at(std::make_unique<ForEachStmt>(), start);
            const Token& nameTok = cur();
            if (cur().type != Tok::Name)
                fail(kInvalidForVariable);
            stmt->element = at(std::make_unique<NameExpr>(nameRef(identifier(), false)), nameTok);
            expect(Kw::In, kExpectedIn);
            stmt->collection = expression();
            ++m_forDepth;
            block(stmt->body, [this] { return isKw(Kw::Next); });
            --m_forDepth;
            expect(Kw::Next, kExpectedNext);
            out.push_back(std::move(stmt));
            return;
        }
        auto stmt = at(std::make_unique<ForStmt>(), start);
        const Token& nameTok = cur();
        if (cur().type != Tok::Name)
            fail(kInvalidForVariable);
        stmt->counter = at(std::make_unique<NameExpr>(nameRef(identifier(), false)), nameTok);
        expect(Tok::Eq, kExpectedEq);
        stmt->from = expression();
        expect(Kw::To, kExpectedTo);
        stmt->to = expression();
        if (accept(Kw::Step))
            stmt->step = expression();
        ++m_forDepth;
        block(stmt->body, [this] { return isKw(Kw::Next); });
        --m_forDepth;
        expect(Kw::Next, kExpectedNext);
        out.push_back(std::move(stmt));
    }

    void doStatement(Block& out, const Token& start) {
        requireBlockContext();
        advance();
        auto stmt = at(std::make_unique<DoStmt>(), start);
        if (isKw(Kw::While) || isKw(Kw::Until)) {
            stmt->isUntil = isKw(Kw::Until);
            advance();
            stmt->condition = expression();
        }
        if (!atStatementEnd())
            fail(1028);
        ++m_doDepth;
        block(stmt->body, [this] { return isKw(Kw::Loop); });
        --m_doDepth;
        expect(Kw::Loop, kExpectedLoop);
        if (isKw(Kw::While) || isKw(Kw::Until)) {
            if (stmt->condition)
                fail(kExpectedEndOfStatement);
            stmt->isUntil = isKw(Kw::Until);
            advance();
            stmt->testFirst = false;
            stmt->condition = expression();
        }
        out.push_back(std::move(stmt));
    }

    void whileStatement(Block& out, const Token& start) {
        requireBlockContext();
        advance();
        auto stmt = at(std::make_unique<DoStmt>(), start);
        stmt->condition = expression();
        stmt->isWhileWend = true;
        block(stmt->body, [this] { return isKw(Kw::Wend); });
        expect(Kw::Wend, kExpectedWend);
        out.push_back(std::move(stmt));
    }

    void withStatement(Block& out, const Token& start) {
        requireBlockContext();
        advance();
        auto stmt = at(std::make_unique<WithStmt>(), start);
        stmt->object = expression();
        stmt->slot = m_proc->addLocal(u" with");
        m_withSlots.push_back(stmt->slot);
        block(stmt->body, [this] { return isKw(Kw::End) && isKwAt(1, Kw::With); });
        m_withSlots.pop_back();
        expect(Kw::End, kExpectedEnd);
        expect(Kw::With, kExpectedWith);
        out.push_back(std::move(stmt));
    }

    void exitStatement(Block& out, const Token& start) {
        advance();
        Flow kind = Flow::Normal;
        if (isKw(Kw::Do)) {
            if (m_doDepth == 0)
                fail(kInvalidExit);
            kind = Flow::ExitDo;
        } else if (isKw(Kw::For)) {
            if (m_forDepth == 0)
                fail(kInvalidExit);
            kind = Flow::ExitFor;
        } else if (isKw(Kw::Function) || isKw(Kw::Sub) || isKw(Kw::Property)) {
            const ProcKind k = m_proc->kind;
            const bool ok =
                (isKw(Kw::Function) && k == ProcKind::Function) ||
                (isKw(Kw::Sub) && k == ProcKind::Sub) ||
                (isKw(Kw::Property) && (k == ProcKind::PropertyGet || k == ProcKind::PropertyLet ||
                                        k == ProcKind::PropertySet));
            if (!ok)
                fail(kInvalidExit);
            kind = Flow::ExitProc;
        } else {
            fail(kInvalidExit);
        }
        advance();
        out.push_back(at(std::make_unique<ExitStmt>(kind), start));
    }

    void onError(Block& out, const Token& start) {
        advance();
        expect(Kw::Error, kSyntax);
        if (accept(Kw::Resume)) {
            expect(Kw::Next, kSyntax);
            out.push_back(at(std::make_unique<OnErrorStmt>(true), start));
            return;
        }
        expect(Kw::GoTo, kSyntax);
        if (cur().type != Tok::Literal || !cur().value.isNumeric() || ops::isTrue(cur().value))
            fail(kSyntax);
        advance();
        out.push_back(at(std::make_unique<OnErrorStmt>(false), start));
    }

    // ---- procedures and classes ----

    void procedure(bool isPublic, bool isDefault) {
        requireBlockContext();
        if (m_proc != m_prog.topLevel.get())
            fail(kSyntax);
        const Token& start = cur();
        auto proc = std::make_unique<Procedure>();
        proc->isPublic = isPublic;
        proc->isDefault = isDefault;
        proc->owner = m_class;
        proc->line = start.line;
        Kw endWord = cur().keyword;
        if (accept(Kw::Function)) {
            proc->kind = ProcKind::Function;
        } else if (accept(Kw::Sub)) {
            proc->kind = ProcKind::Sub;
        } else {
            advance(); // Property
            if (accept(Kw::Get))
                proc->kind = ProcKind::PropertyGet;
            else if (accept(Kw::Let))
                proc->kind = ProcKind::PropertyLet;
            else if (accept(Kw::Set))
                proc->kind = ProcKind::PropertySet;
            else
                fail(kExpectedPropertyKind);
        }
        if (isDefault && proc->kind != ProcKind::PropertyGet && proc->kind != ProcKind::Function &&
            proc->kind != ProcKind::Sub)
            fail(kDefaultOnlyGet);
        const Token& nameTok = cur();
        proc->name = identifier();
        if (accept(Tok::LParen)) {
            if (!accept(Tok::RParen)) {
                do {
                    Param p;
                    if (accept(Kw::ByVal))
                        p.byRef = false;
                    else
                        accept(Kw::ByRef);
                    const Token& pTok = cur();
                    p.name = identifier();
                    if (accept(Tok::LParen))
                        expect(Tok::RParen, kExpectedRParen);
                    for (const auto& q : proc->params)
                        if (equalsIgnoreCase(q.name, p.name))
                            failAt(kNameRedefined, pTok);
                    proc->hasByValParams = proc->hasByValParams || !p.byRef;
                    proc->params.push_back(std::move(p));
                } while (accept(Tok::Comma));
                expect(Tok::RParen, kExpectedRParen);
            }
        }
        if ((proc->kind == ProcKind::PropertyLet || proc->kind == ProcKind::PropertySet) &&
            proc->params.empty())
            failAt(kLetNeedsArg, nameTok);
        if (m_class &&
            (equalsIgnoreCase(proc->name, u"Class_Initialize") ||
             equalsIgnoreCase(proc->name, u"Class_Terminate")) &&
            !proc->params.empty())
            failAt(kInitNoArgs, nameTok);
        for (const auto& p : proc->params)
            proc->addLocal(p.name);
        if (proc->kind == ProcKind::Function || proc->kind == ProcKind::PropertyGet)
            proc->resultSlot = proc->addLocal(proc->name);
        endOfStatement();

        Procedure* saved = m_proc;
        m_proc = proc.get();
        const int savedDo = m_doDepth, savedFor = m_forDepth;
        m_doDepth = m_forDepth = 0;
        std::vector<int> savedWith = std::move(m_withSlots);
        m_withSlots.clear();
        block(proc->body, [this] { return isKw(Kw::End); });
        m_withSlots = std::move(savedWith);
        m_doDepth = savedDo;
        m_forDepth = savedFor;
        m_proc = saved;
        expect(Kw::End, kExpectedEnd);
        const int endError = endWord == Kw::Function ? kExpectedFunction
                             : endWord == Kw::Sub    ? kExpectedSub
                                                     : kExpectedProperty;
        if (!accept(endWord))
            fail(endError);

        if (m_class)
            addClassMember(std::move(proc), nameTok);
        else
            m_prog.procedures.push_back(std::move(proc));
    }

    void addClassMember(std::unique_ptr<Procedure> proc, const Token& nameTok) {
        ClassInfo& cls = *m_class;
        const std::u16string key = foldCase(proc->name);
        int index;
        const auto it = cls.memberIndex.find(key);
        if (it == cls.memberIndex.end()) {
            ClassMember m;
            m.name = proc->name;
            m.isPublic = proc->isPublic;
            cls.members.push_back(m);
            index = static_cast<int>(cls.members.size()) - 1;
            cls.memberIndex[key] = index;
        } else {
            index = it->second;
        }
        ClassMember& m = cls.members[static_cast<size_t>(index)];
        Procedure* p = proc.get();
        Procedure** slot = nullptr;
        switch (p->kind) {
        case ProcKind::PropertyLet:
            slot = &m.let;
            break;
        case ProcKind::PropertySet:
            slot = &m.set;
            break;
        default:
            slot = &m.method;
            break;
        }
        if (*slot || m.field >= 0 ||
            (p->kind != ProcKind::PropertyGet && p->kind != ProcKind::PropertyLet &&
             p->kind != ProcKind::PropertySet && (m.let || m.set)))
            failAt(kNameRedefined, nameTok);
        if (m.method && m.method->kind != ProcKind::PropertyGet &&
            (p->kind == ProcKind::PropertyLet || p->kind == ProcKind::PropertySet))
            failAt(kNameRedefined, nameTok);
        *slot = p;
        if (p->isPublic)
            m.isPublic = true;
        if (p->isDefault) {
            if (cls.defaultMember >= 0 && cls.defaultMember != index)
                failAt(kMultipleDefault, nameTok);
            cls.defaultMember = index;
        }
        if (p->kind == ProcKind::Sub && p->params.empty()) {
            if (equalsIgnoreCase(p->name, u"Class_Initialize"))
                cls.initialize = p;
            else if (equalsIgnoreCase(p->name, u"Class_Terminate"))
                cls.terminate = p;
        }
        m_prog.procedures.push_back(std::move(proc));
    }

    void classDefinition() {
        requireBlockContext();
        advance(); // Class
        auto cls = std::make_unique<ClassInfo>();
        cls->name = identifier();
        endOfStatement();
        m_class = cls.get();
        for (;;) {
            skipSeparators();
            if (isKw(Kw::End) || cur().type == Tok::End)
                break;
            const Token& start = cur();
            if (isKw(Kw::Dim) || isKw(Kw::Public) || isKw(Kw::Private)) {
                if (isKw(Kw::Dim)) {
                    advance();
                    Block ignored;
                    variableDeclarations(ignored, start, true);
                } else {
                    Block ignored;
                    topLevelStatement(ignored);
                }
            } else if (isKw(Kw::Function) || isKw(Kw::Sub) || isKw(Kw::Property)) {
                procedure(true, false);
            } else if (isKw(Kw::Const)) {
                fail(kSyntax);
            } else {
                fail(kExpectedStatement);
            }
            endOfStatement();
        }
        m_class = nullptr;
        expect(Kw::End, kExpectedEnd);
        expect(Kw::Class, kExpectedClass);
        m_prog.classes.push_back(std::move(cls));
    }

    // ---- expressions ----

    // A name followed by member accesses and argument lists: the left side of an assignment
    // or the callee of a call statement. `lastParen` receives the token index of the last
    // argument list's "(" when the target ends with one.
    ExprPtr postfixTarget(size_t* lastParen = nullptr) {
        const Token& start = cur();
        ExprPtr e;
        if (cur().type == Tok::WithDot) {
            advance();
            // Outside any With the reference compiles and fails when it runs (error 505).
            auto obj =
                at(std::make_unique<WithObjectExpr>(m_withSlots.empty() ? -1 : m_withSlots.back()),
                   start);
            e = at(std::make_unique<MemberExpr>(std::move(obj), memberName(), ExprList{}, false),
                   start);
        } else if (isKw(Kw::Me)) {
            advance();
            e = at(std::make_unique<MeExpr>(), start);
        } else if (isKw(Kw::Nothing)) {
            // Nothing.Prop compiles; using it raises 424.
            advance();
            e = at(std::make_unique<LiteralExpr>(Value::nothing()), start);
        } else if (accept(Tok::LParen)) {
            // (New C).Run, (f)(x): a parenthesised value called through.
            ExprPtr inner = expression();
            expect(Tok::RParen, kExpectedRParen);
            e = at(std::make_unique<ParenExpr>(std::move(inner)), start);
        } else {
            std::u16string name = identifier();
            e = nameOrIntrinsic(std::move(name), start, lastParen);
        }
        return postfix(std::move(e), lastParen);
    }

    ExprPtr nameOrIntrinsic(std::u16string name, const Token& start, size_t* lastParen) {
        static const std::pair<std::u16string_view, Intrinsic> kIntrinsics[] = {
            {u"Eval", Intrinsic::Eval},
            {u"Execute", Intrinsic::Execute},
            {u"ExecuteGlobal", Intrinsic::ExecuteGlobal},
            {u"GetRef", Intrinsic::GetRef},
        };
        for (const auto& [n, kind] : kIntrinsics) {
            if (equalsIgnoreCase(name, n)) {
                ExprList args;
                m_lastHadParens = false;
                if (cur().type == Tok::LParen && m_pos != m_stopAt) {
                    if (lastParen)
                        *lastParen = m_pos;
                    m_lastHadParens = true;
                    args = parenArguments();
                }
                return at(std::make_unique<IntrinsicExpr>(kind, std::move(args)), start);
            }
        }
        if (cur().type == Tok::LParen && m_pos != m_stopAt) {
            if (lastParen)
                *lastParen = m_pos;
            ExprList args = parenArguments();
            return at(std::make_unique<CallExpr>(nameRef(std::move(name), true), std::move(args)),
                      start);
        }
        return at(std::make_unique<NameExpr>(nameRef(std::move(name), false)), start);
    }

    ExprPtr postfix(ExprPtr e, size_t* lastParen) {
        for (;;) {
            if (m_pos == m_stopAt && m_stopAt)
                return e;
            if (cur().type == Tok::Dot) {
                const Token& dot = cur();
                advance();
                std::u16string name = memberName();
                ExprList args;
                bool parens = false;
                if (lastParen)
                    *lastParen = 0;
                if (cur().type == Tok::LParen && m_pos != m_stopAt) {
                    if (lastParen)
                        *lastParen = m_pos;
                    args = parenArguments();
                    parens = true;
                }
                e = at(std::make_unique<MemberExpr>(std::move(e), std::move(name), std::move(args),
                                                    parens),
                       dot);
                continue;
            }
            if (cur().type == Tok::LParen) {
                const Token& paren = cur();
                if (lastParen)
                    *lastParen = m_pos;
                ExprList args = parenArguments();
                e = at(std::make_unique<ApplyExpr>(std::move(e), std::move(args)), paren);
                continue;
            }
            return e;
        }
    }

    ExprList parenArguments() {
        expect(Tok::LParen, kExpectedLParen);
        ExprList args;
        if (accept(Tok::RParen))
            return args;
        for (;;) {
            if (cur().type == Tok::Comma || cur().type == Tok::RParen)
                args.push_back(nullptr);
            else
                args.push_back(expression());
            if (accept(Tok::Comma))
                continue;
            expect(Tok::RParen, kExpectedRParen);
            return args;
        }
    }

    ExprPtr expression() {
        checkStack();
        return impExpr();
    }

    using SubParser = ExprPtr (Parser::*)();
    ExprPtr binaryLevel(SubParser next, std::initializer_list<std::pair<Kw, BinaryOp>> ops) {
        ExprPtr left = (this->*next)();
        for (;;) {
            bool matched = false;
            for (const auto& [kw, op] : ops) {
                if (isKw(kw)) {
                    const Token& t = cur();
                    advance();
                    ExprPtr right = (this->*next)();
                    left = at(makeBinary(op, std::move(left), std::move(right)), t);
                    matched = true;
                    break;
                }
            }
            if (!matched)
                return left;
        }
    }

    ExprPtr impExpr() { return binaryLevel(&Parser::eqvExpr, {{Kw::Imp, BinaryOp::Imp}}); }
    ExprPtr eqvExpr() { return binaryLevel(&Parser::xorExpr, {{Kw::Eqv, BinaryOp::Eqv}}); }
    ExprPtr xorExpr() { return binaryLevel(&Parser::orExpr, {{Kw::Xor, BinaryOp::Xor}}); }
    ExprPtr orExpr() { return binaryLevel(&Parser::andExpr, {{Kw::Or, BinaryOp::Or}}); }
    ExprPtr andExpr() { return binaryLevel(&Parser::notExpr, {{Kw::And, BinaryOp::And}}); }

    ExprPtr notExpr() {
        if (isKw(Kw::Not)) {
            checkStack();
            const Token& t = cur();
            advance();
            return at(std::make_unique<UnaryExpr>(UnaryOp::Not, notExpr()), t);
        }
        return compareExpr();
    }

    ExprPtr compareExpr() {
        ExprPtr left = concatExpr();
        for (;;) {
            BinaryOp op;
            switch (cur().type) {
            case Tok::Eq:
                op = BinaryOp::Eq;
                break;
            case Tok::Ne:
                op = BinaryOp::Ne;
                break;
            case Tok::Lt:
                op = BinaryOp::Lt;
                break;
            case Tok::Gt:
                op = BinaryOp::Gt;
                break;
            case Tok::Le:
                op = BinaryOp::Le;
                break;
            case Tok::Ge:
                op = BinaryOp::Ge;
                break;
            default:
                if (!isKw(Kw::Is))
                    return left;
                op = BinaryOp::Is;
            }
            const Token& t = cur();
            advance();
            ExprPtr right = concatExpr();
            left = at(makeBinary(op, std::move(left), std::move(right)), t);
        }
    }

    ExprPtr tokenLevel(SubParser next, std::initializer_list<std::pair<Tok, BinaryOp>> ops,
                       Kw keyword = Kw::None, BinaryOp keywordOp = BinaryOp::Mod) {
        ExprPtr left = (this->*next)();
        for (;;) {
            const Token& t = cur();
            bool matched = false;
            BinaryOp op = keywordOp;
            if (keyword != Kw::None && isKw(keyword)) {
                matched = true;
            } else {
                for (const auto& [tok, o] : ops) {
                    if (t.type == tok) {
                        op = o;
                        matched = true;
                        break;
                    }
                }
            }
            if (!matched)
                return left;
            advance();
            ExprPtr right = (this->*next)();
            left = at(makeBinary(op, std::move(left), std::move(right)), t);
        }
    }

    ExprPtr concatExpr() { return tokenLevel(&Parser::addExpr, {{Tok::Amp, BinaryOp::Concat}}); }
    ExprPtr addExpr() {
        return tokenLevel(&Parser::modExpr,
                          {{Tok::Plus, BinaryOp::Add}, {Tok::Minus, BinaryOp::Sub}});
    }
    ExprPtr modExpr() { return tokenLevel(&Parser::intDivExpr, {}, Kw::Mod, BinaryOp::Mod); }
    ExprPtr intDivExpr() {
        return tokenLevel(&Parser::mulExpr, {{Tok::Backslash, BinaryOp::IntDiv}});
    }
    ExprPtr mulExpr() {
        return tokenLevel(&Parser::powerExpr,
                          {{Tok::Star, BinaryOp::Mul}, {Tok::Slash, BinaryOp::Div}});
    }

    // The sign belongs to its operand before "^" applies, as the language reads it: -3^2 is
    // (-3)^2 = 9, 2^-1^2 is (2^-1)^2; "^" is left-associative (2^3^2 = 64).
    ExprPtr powerExpr() {
        ExprPtr left = primaryOrSigned();
        while (cur().type == Tok::Caret) {
            const Token& t = cur();
            advance();
            ExprPtr right = primaryOrSigned();
            left = at(makeBinary(BinaryOp::Pow, std::move(left), std::move(right)), t);
        }
        return left;
    }

    ExprPtr primaryOrSigned() {
        checkStack();
        if (cur().type == Tok::Minus) {
            const Token& s = cur();
            advance();
            checkStack();
            return at(std::make_unique<UnaryExpr>(UnaryOp::Neg, primaryOrSigned()), s);
        }
        if (accept(Tok::Plus))
            return primaryOrSigned();
        return primary();
    }

    ExprPtr primary() {
        checkStack();
        const Token& t = cur();
        switch (t.type) {
        case Tok::Literal: {
            auto e = at(std::make_unique<LiteralExpr>(t.value), t);
            advance();
            return e;
        }
        case Tok::LParen: {
            advance();
            ExprPtr inner = expression();
            expect(Tok::RParen, kExpectedRParen);
            return postfix(at(std::make_unique<ParenExpr>(std::move(inner)), t), nullptr);
        }
        case Tok::WithDot:
        case Tok::Name:
            break;
        default:
            fail(kExpectedExpression);
        }
        if (t.type == Tok::Name && !t.bracketed) {
            switch (t.keyword) {
            case Kw::True:
                advance();
                return at(std::make_unique<LiteralExpr>(Value::boolean(true)), t);
            case Kw::False:
                advance();
                return at(std::make_unique<LiteralExpr>(Value::boolean(false)), t);
            case Kw::Empty:
                advance();
                return at(std::make_unique<LiteralExpr>(Value()), t);
            case Kw::Null:
                advance();
                return at(std::make_unique<LiteralExpr>(Value::null()), t);
            case Kw::New: {
                advance();
                std::u16string name = identifier();
                return at(std::make_unique<NewExpr>(std::move(name)), t);
            }
            case Kw::Not:
                return notExpr();
            case Kw::Me:
            case Kw::Nothing:
                break;
            default:
                if (isReservedKeyword(t.keyword))
                    fail(kExpectedExpression);
            }
        }
        return postfixTarget();
    }

    std::vector<Token> m_t;
    size_t m_pos = 0;
    size_t m_stopAt = 0;
    Program& m_prog;
    Procedure* m_proc = nullptr;
    ClassInfo* m_class = nullptr;
    std::vector<int> m_withSlots;
    int m_doDepth = 0;
    int m_forDepth = 0;
    bool m_singleLine = false;
    bool m_lastHadParens = false;
};

} // namespace

Ref<Program> parseProgram(std::u16string_view source) {
    auto program = makeRef<Program>();
    Parser parser(tokenize(source), *program);
    parser.program();
    return program;
}

Ref<Program> parseExpression(std::u16string_view source) {
    auto program = makeRef<Program>();
    Parser parser(tokenize(source), *program);
    parser.expressionOnly();
    return program;
}

} // namespace vbscript
