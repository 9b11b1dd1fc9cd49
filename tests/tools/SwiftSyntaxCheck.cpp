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
#include <QRegularExpression>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstring>
#include <memory>

extern "C" const TSLanguage *tree_sitter_swift(void);

namespace {

/// The directive `line` holds ("if", "elseif", "else" or "endif"), or nothing.
QString directiveOf(const QByteArray &line)
{
    static const QRegularExpression directive(QStringLiteral("^\\s*#(if|elseif|else|endif)\\b"));
    return directive.match(QString::fromUtf8(line)).captured(1);
}

/// "line:column: message"
QString syntaxError(qsizetype line, qsizetype column, const QString &message)
{
    return QStringLiteral("%1:%2: %3").arg(line).arg(column).arg(message);
}

/// One text per branch position, each with the same number of lines as the
/// source. Unbalanced directives are reported in `errors`.
QList<QByteArray> branchVariants(const QByteArray &source, QStringList *errors)
{
    const QList<QByteArray> lines = source.split('\n');
    QList<int> branchCounts; // per #if block
    QList<std::pair<int, int>> open; // (block, branch) of the blocks open here
    // For each line: whether it is a directive, and the blocks enclosing it.
    QList<bool> directives;
    QList<QList<std::pair<int, int>>> enclosing;
    for (int index = 0; index < lines.size(); ++index) {
        const QString directive = directiveOf(lines.at(index));
        directives << !directive.isEmpty();
        if (directive == QLatin1String("if")) {
            branchCounts.append(1);
            open.append({int(branchCounts.size() - 1), 0});
        } else if (!directive.isEmpty() && open.isEmpty()) {
            errors->append(syntaxError(index + 1, 1, QStringLiteral("#elseif, #else or #endif without #if")));
        } else if (directive == QLatin1String("endif")) {
            open.removeLast();
        } else if (!directive.isEmpty()) {
            open.last().second = ++branchCounts[open.last().first] - 1;
        }
        enclosing << open;
    }
    if (!open.isEmpty())
        errors->append(syntaxError(lines.size(), 1, QStringLiteral("#if without #endif")));

    const int passes = branchCounts.isEmpty() ? 1 : *std::max_element(branchCounts.begin(), branchCounts.end());
    QList<QByteArray> variants;
    for (int pass = 0; pass < passes; ++pass) {
        QList<QByteArray> kept;
        for (int index = 0; index < lines.size(); ++index) {
            bool keep = !directives.at(index);
            for (const auto &[block, branch] : enclosing.at(index))
                keep = keep && branch == std::min(pass, branchCounts.at(block) - 1);
            kept << (keep ? lines.at(index) : QByteArray());
        }
        variants << kept.join('\n');
    }
    return variants;
}

void collectErrors(TSNode node, QStringList *errors)
{
    if (errors->size() >= 20)
        return;
    const bool missing = ts_node_is_missing(node);
    const bool error = std::strcmp(ts_node_type(node), "ERROR") == 0;
    if (missing || error) {
        const TSPoint start = ts_node_start_point(node);
        const QString message = missing ? QStringLiteral("missing %1").arg(QString::fromUtf8(ts_node_type(node)))
                                        : QStringLiteral("syntax error");
        errors->append(syntaxError(start.row + 1, start.column + 1, message));
        if (error)
            return; // one report per erroneous region
    }
    if (!ts_node_has_error(node))
        return;
    for (uint32_t index = 0; index < ts_node_child_count(node); ++index)
        collectErrors(ts_node_child(node, index), errors);
}

QStringList checkSource(TSParser *parser, const QByteArray &source)
{
    QStringList errors;
    for (const QByteArray &variant : branchVariants(source, &errors)) {
        std::unique_ptr<TSTree, decltype(&ts_tree_delete)> tree(
            ts_parser_parse_string(parser, nullptr, variant.constData(), uint32_t(variant.size())), ts_tree_delete);
        QStringList found;
        if (tree)
            collectErrors(ts_tree_root_node(tree.get()), &found);
        else
            found << syntaxError(1, 1, QStringLiteral("the parser gave up"));
        errors += found;
    }
    errors.removeDuplicates();
    return errors;
}

/// The .swift files of `path` (itself when it is a file), sorted.
QStringList swiftFiles(const QString &path)
{
    if (QFileInfo(path).isFile())
        return {path};
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
        if (!QFileInfo(path).isReadable()) {
            err << path << ": cannot be read\n";
            readable = false;
        }
        for (const QString &file : swiftFiles(path)) {
            QFile input(file);
            if (!input.open(QIODevice::ReadOnly)) {
                err << file << ": " << input.errorString() << '\n';
                readable = false;
                continue;
            }
            ++checked;
            const QStringList errors = checkSource(parser.get(), input.readAll());
            failed += errors.isEmpty() ? 0 : 1;
            for (const QString &error : errors)
                out << file << ':' << error << '\n';
        }
    }
    out << "checked " << checked << " Swift file(s), " << failed << " with syntax errors\n";
    if (!readable)
        return 2;
    return failed == 0 ? 0 : 1;
}
