// plinth_swift_syntax_check PATH...
//
// Parses every .swift file under the given files and folders with the
// tree-sitter Swift grammar and reports each syntax error as
// "file:line:column: message". Exit status: 0 when every file parses, 1 when
// some file has an error, 2 when a path cannot be read.
//
// The grammar rejects #if blocks around declarations inside a type body,
// which is valid Swift. So, as the compiler keeps only the active branch, a
// file is parsed once per branch position: pass N keeps branch N of every
// #if/#elseif/#else/#endif block (or its last branch when it has fewer) and
// blanks the directive lines and all other branches. Line numbers stay those
// of the file.

#include <tree_sitter/api.h>

#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstring>
#include <memory>

extern "C" const TSLanguage *tree_sitter_swift(void);

namespace {

enum class Directive { none, if_, elseif, else_, endif };

Directive directiveOf(const QByteArray &line)
{
    const QByteArray text = line.trimmed();
    const auto startsWithWord = [&](const char *word) {
        const qsizetype length = qsizetype(std::strlen(word));
        if (!text.startsWith(word))
            return false;
        if (text.size() == length)
            return true;
        const char next = text.at(length);
        return !(std::isalnum(static_cast<unsigned char>(next)) || next == '_');
    };
    if (startsWithWord("#if"))
        return Directive::if_;
    if (startsWithWord("#elseif"))
        return Directive::elseif;
    if (startsWithWord("#else"))
        return Directive::else_;
    if (startsWithWord("#endif"))
        return Directive::endif;
    return Directive::none;
}

struct SyntaxError
{
    int line = 0;
    int column = 0;
    QString message;
    bool operator==(const SyntaxError &other) const = default;
};

/// One text per branch position, each with the same number of lines as the
/// source. Unbalanced directives are reported in `errors`.
QList<QByteArray> branchVariants(const QByteArray &source, QList<SyntaxError> *errors)
{
    QList<QByteArray> lines = source.split('\n');

    struct Open
    {
        int block;
        int branch;
    };
    QList<int> branchCounts; // per #if block
    QList<Open> open;
    // For each line: its directive and the (block, branch) pairs enclosing it.
    QList<Directive> directives;
    QList<QList<Open>> enclosing;
    for (int index = 0; index < lines.size(); ++index) {
        const Directive directive = directiveOf(lines.at(index));
        directives << directive;
        switch (directive) {
        case Directive::if_:
            branchCounts.append(1);
            open.append(Open{int(branchCounts.size() - 1), 0});
            break;
        case Directive::elseif:
        case Directive::else_:
            if (open.isEmpty()) {
                errors->append({index + 1, 1, QStringLiteral("#elseif or #else without #if")});
                break;
            }
            open.last().branch = ++branchCounts[open.last().block] - 1;
            break;
        case Directive::endif:
            if (open.isEmpty())
                errors->append({index + 1, 1, QStringLiteral("#endif without #if")});
            else
                open.removeLast();
            break;
        case Directive::none:
            break;
        }
        enclosing << open;
    }
    if (!open.isEmpty())
        errors->append({int(lines.size()), 1, QStringLiteral("#if without #endif")});

    int passes = 1;
    for (const int count : branchCounts)
        passes = std::max(passes, count);

    QList<QByteArray> variants;
    for (int pass = 0; pass < passes; ++pass) {
        QByteArray text;
        text.reserve(source.size());
        for (int index = 0; index < lines.size(); ++index) {
            bool keep = directives.at(index) == Directive::none;
            for (const Open &entry : enclosing.at(index)) {
                const int chosen = std::min(pass, branchCounts.at(entry.block) - 1);
                keep = keep && entry.branch == chosen;
            }
            if (keep)
                text += lines.at(index);
            if (index + 1 < lines.size())
                text += '\n';
        }
        variants << text;
    }
    return variants;
}

void collectErrors(TSNode node, QList<SyntaxError> *errors)
{
    if (errors->size() >= 20)
        return;
    const bool missing = ts_node_is_missing(node);
    const bool error = std::strcmp(ts_node_type(node), "ERROR") == 0;
    if (missing || error) {
        const TSPoint start = ts_node_start_point(node);
        const QString message = missing ? QStringLiteral("missing %1").arg(QString::fromUtf8(ts_node_type(node)))
                                        : QStringLiteral("syntax error");
        errors->append({int(start.row) + 1, int(start.column) + 1, message});
        if (error)
            return; // one report per erroneous region
    }
    if (!ts_node_has_error(node))
        return;
    const uint32_t count = ts_node_child_count(node);
    for (uint32_t index = 0; index < count; ++index)
        collectErrors(ts_node_child(node, index), errors);
}

QList<SyntaxError> checkSource(TSParser *parser, const QByteArray &source)
{
    QList<SyntaxError> errors;
    const QList<QByteArray> variants = branchVariants(source, &errors);
    for (const QByteArray &variant : variants) {
        std::unique_ptr<TSTree, decltype(&ts_tree_delete)> tree(
            ts_parser_parse_string(parser, nullptr, variant.constData(), uint32_t(variant.size())), ts_tree_delete);
        if (!tree) {
            errors.append({1, 1, QStringLiteral("the parser gave up")});
            continue;
        }
        QList<SyntaxError> found;
        collectErrors(ts_tree_root_node(tree.get()), &found);
        for (const SyntaxError &error : found) {
            if (!errors.contains(error))
                errors.append(error);
        }
    }
    return errors;
}

QStringList swiftFiles(const QString &path, bool *readable)
{
    const QFileInfo info(path);
    if (info.isFile())
        return {info.absoluteFilePath()};
    if (!info.isDir() || !info.isReadable()) {
        *readable = false;
        return {};
    }
    QStringList files;
    QDirIterator it(path, {QStringLiteral("*.swift")}, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (argc < 2) {
        err << "usage: plinth_swift_syntax_check PATH...\n";
        return 2;
    }

    std::unique_ptr<TSParser, decltype(&ts_parser_delete)> parser(ts_parser_new(), ts_parser_delete);
    if (!ts_parser_set_language(parser.get(), tree_sitter_swift())) {
        err << "the Swift grammar does not fit this tree-sitter library\n";
        return 2;
    }

    int checked = 0;
    int failed = 0;
    bool readable = true;
    for (int index = 1; index < argc; ++index) {
        const QString path = QString::fromLocal8Bit(argv[index]);
        bool pathReadable = true;
        const QStringList files = swiftFiles(path, &pathReadable);
        if (!pathReadable) {
            err << path << ": cannot be read\n";
            readable = false;
        }
        for (const QString &file : files) {
            QFile input(file);
            if (!input.open(QIODevice::ReadOnly)) {
                err << file << ": " << input.errorString() << '\n';
                readable = false;
                continue;
            }
            ++checked;
            const QList<SyntaxError> errors = checkSource(parser.get(), input.readAll());
            if (!errors.isEmpty())
                ++failed;
            for (const SyntaxError &error : errors)
                out << file << ':' << error.line << ':' << error.column << ": " << error.message << '\n';
        }
    }
    out << "checked " << checked << " Swift file(s), " << failed << " with syntax errors\n";
    if (!readable)
        return 2;
    return failed == 0 ? 0 : 1;
}
