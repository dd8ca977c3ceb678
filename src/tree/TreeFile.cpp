#include "tree/TreeFile.h"

#include "base/AnsiText.h"
#include "base/ProgramFolder.h"
#include "tree/NodeRules.h"
#include "tree/TreeFileError.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// The line without its leading marks and its last character (the image digit in a file the
// program wrote). The last character goes whole, never half of it.
QString nameOf(const QString &line, int leadingMarks)
{
    QString rest = line.mid(leadingMarks);
    if (rest.isEmpty())
        return rest;
    const bool pair =
        rest.size() >= 2 && rest.back().isLowSurrogate() && rest.at(rest.size() - 2).isHighSurrogate();
    rest.chop(pair ? 2 : 1);
    return rest;
}

// How many of the program's own root names the text's root lines give.
int knownRoots(const QString &text)
{
    int known = 0;
    for (const TreeNode &root : TreeFile::parse(AnsiText::splitLines(text))) {
        if (root.name == NodeRules::TextRootText || root.name == NodeRules::InstanceRootText ||
            root.name == NodeRules::SearchResultText)
            ++known;
    }
    return known;
}

// The file's text: GB18030 as the program writes it, unless the file is UTF-8 written by hand
// (valid UTF-8 with other than ASCII, whose root names only the UTF-8 reading finds), which
// often happens to be valid GB18030 too and reads as nonsense then.
QString textOf(const QByteArray &bytes, bool *utf8)
{
    const QString ansi = AnsiText::decode(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString unicode = decoder.decode(bytes);
    *utf8 = !decoder.hasError() && unicode.size() < bytes.size() && knownRoots(unicode) > knownRoots(ansi);
    return *utf8 ? unicode : ansi;
}

void formatNode(const TreeNode &node, int depth, QStringList *lines)
{
    const QString marks = depth == 0 ? QString() : depth == 1 ? QStringLiteral("+") : QStringLiteral("++");
    lines->append(marks + node.name + QString::number(node.image));
    for (const TreeNode &child : node.children)
        formatNode(child, depth + 1, lines);
}

} // namespace

QString TreeFile::defaultPath()
{
    return ProgramFolder::filePath(QStringLiteral("MTS.qb"));
}

TreeFile::TreeFile(const QString &path) : m_path(path) {}

QVector<TreeNode> TreeFile::load()
{
    const QString lost = QStringLiteral("文件MTS.qb已经丢失或被损坏，请重新安装！");
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw TreeFileError(lost);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TreeFileError(lost);
    bool utf8 = false;
    const QString text = textOf(bytes, &utf8);
    const QStringList lines = AnsiText::splitLines(text);
    if (lines.isEmpty())
        throw TreeFileError(lost);
    QVector<TreeNode> roots = parse(lines, &m_skippedLines);
    if (roots.isEmpty())
        throw TreeFileError(lost);
    // Bytes that are not GB18030 read as replacement characters, which a save would write over
    // them, and a UTF-8 file is written as GB18030: the original is kept first, as for lines
    // that cannot be placed.
    m_backupPending = m_skippedLines > 0 || utf8 || AnsiText::encode(text) != bytes;
    return roots;
}

bool TreeFile::save(const QVector<TreeNode> &roots, QString *error)
{
    // With the original gone there is nothing left to protect, and the tree must not be lost too.
    if (m_backupPending && QFile::exists(m_path)) {
        const QString backup = m_path + QStringLiteral(".bak");
        QFile::remove(backup);
        if (!QFile::copy(m_path, backup)) {
            if (error)
                *error = QStringLiteral("无法保留原文件MTS.qb.bak");
            return false;
        }
    }
    m_backupPending = false;
    return AnsiText::writeLineFile(m_path, format(roots), error);
}

QVector<TreeNode> TreeFile::parse(const QStringList &lines, int *skippedLines)
{
    QVector<TreeNode> roots;
    // The current node: a root, or a first-level node under it (child index -1 for the root).
    int currentRoot = -1;
    int currentChild = -1;
    int skipped = 0;
    for (const QString &line : lines) {
        const bool twoMarks = line.startsWith(QLatin1String("++"));
        const bool oneMark = !twoMarks && line.startsWith(QLatin1Char('+'));
        // A second-level line needs a first-level category to go under: directly under a root it
        // would become a first-level node that no save could write back as it was.
        if (line.isEmpty() || ((twoMarks || oneMark) && currentRoot < 0) || (twoMarks && currentChild < 0)) {
            ++skipped;
            continue;
        }
        if (twoMarks) {
            roots[currentRoot].children[currentChild].children.append(
                {nameOf(line, 2), NodeRules::SecondLevel, {}});
        } else if (oneMark) {
            roots[currentRoot].children.append({nameOf(line, 1), NodeRules::FirstLevelCollapsed, {}});
            currentChild = static_cast<int>(roots[currentRoot].children.size()) - 1;
        } else {
            roots.append({nameOf(line, 0), NodeRules::RootCollapsed, {}});
            currentRoot = static_cast<int>(roots.size()) - 1;
            currentChild = -1;
        }
    }
    if (skippedLines)
        *skippedLines = skipped;
    return roots;
}

QStringList TreeFile::format(const QVector<TreeNode> &roots)
{
    QStringList lines;
    for (const TreeNode &root : roots)
        formatNode(root, 0, &lines);
    return lines;
}
