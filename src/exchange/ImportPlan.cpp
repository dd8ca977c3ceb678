#include "exchange/ImportPlan.h"

#include "code/LanguageCatalog.h"
#include "exchange/CategoryNameRepair.h"
#include "exchange/ExportIndex.h"
#include "tree/NodeRules.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <climits>

namespace {
void addExisting(QSet<QString> *keys, QStringList names, const TreeNode &node)
{
    names.append(node.name);
    keys->insert(names.join(QChar(0)));
    for (const TreeNode &child : node.children)
        addExisting(keys, names, child);
}

// Markdown and text files, and source files, which become materials in their language.
bool isTextFile(const QFileInfo &info)
{
    const QString suffix = info.suffix().toLower();
    return suffix == QLatin1String("md") || suffix == QLatin1String("txt") ||
           LanguageCatalog::importedExtensions().contains(suffix);
}
} // namespace

ImportPlan::ImportPlan(const QString &folder, const QStringList &target, const QVector<TreeNode> &tree)
    : m_folder(QDir(folder).absolutePath()), m_canonicalFolder(QFileInfo(folder).canonicalFilePath()),
      m_target(target)
{
    for (const TreeNode &root : tree)
        addExisting(&m_existing, {}, root);
}

bool ImportPlan::leadsOutside(const QFileInfo &entry) const
{
    // A link that leads nowhere fails when it is read, and says so then.
    const QString target = entry.canonicalFilePath();
    return entry.isSymLink() && !target.isEmpty() && !target.startsWith(m_canonicalFolder + QLatin1Char('/'));
}

void ImportPlan::readIndex()
{
    const QString path = QDir(m_folder).filePath(ExportIndex::FileName);
    const QVector<QPair<QString, QString>> names = ExportIndex::readFolderNames(path);
    if (names.isEmpty())
        return;
    m_indexPath = path; // the index is no material
    for (const auto &name : names) {
        m_indexOrder.insert(name.first, static_cast<int>(m_indexOrder.size()));
        m_indexNames.insert(name.first, name.second);
    }
}

bool ImportPlan::read(Folder &folder, const std::function<bool(int files)> &proceed)
{
    const QFileInfoList entries =
        QDir(folder.path)
            .entryInfoList(QDir::Dirs | QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString relative = folder.relativePath.isEmpty()
                                     ? entry.fileName()
                                     : folder.relativePath + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() && entry.isSymLink()) {
            m_report.change(QStringLiteral("文件夹“%1”链接到别处，没有导入").arg(relative));
        } else if (entry.isDir()) {
            Folder child{entry.absoluteFilePath(), relative, {}, {}, 0, false, false};
            if (!read(child, proceed))
                return false;
            folder.hasTextFiles = folder.hasTextFiles || child.hasTextFiles;
            folder.hasAnyFile = folder.hasAnyFile || child.hasAnyFile;
            folder.children.append(child);
        } else if (entry.absoluteFilePath() != m_indexPath) {
            folder.hasAnyFile = true;
            if (isTextFile(entry) && leadsOutside(entry)) {
                m_report.skip(relative, QStringLiteral("链接到导入文件夹以外的文件，没有导入"));
            } else if (isTextFile(entry)) {
                folder.files.append(entry.absoluteFilePath());
                folder.hasTextFiles = true;
                ++m_found;
            } else {
                ++m_otherFiles;
            }
        }
    }
    // The index's order first (the tree's order at the export), then by name.
    std::stable_sort(
        folder.children.begin(), folder.children.end(), [this](const Folder &a, const Folder &b) {
            return m_indexOrder.value(a.relativePath, INT_MAX) < m_indexOrder.value(b.relativePath, INT_MAX);
        });
    return proceed(m_found);
}

bool ImportPlan::scan(const std::function<bool(int files)> &proceed)
{
    readIndex();
    Folder top{m_folder, QString(), {}, {}, 0, false, false};
    if (!read(top, proceed))
        return false;
    if (m_otherFiles > 0)
        m_report.skip(QStringLiteral("%1个其他类型的文件").arg(m_otherFiles),
                      QStringLiteral("只导入.md、.txt和源代码文件"), m_otherFiles);
    place(top, m_target.isEmpty() ? QStringList{NodeRules::TextRootText} : m_target, true, false);
    m_report.categories = static_cast<int>(m_newCategories.size());
    return true;
}

QString ImportPlan::categoryName(const Folder &folder)
{
    const QString given = folder.relativePath.isEmpty()
                              ? QFileInfo(m_folder).fileName()
                              : m_indexNames.value(folder.relativePath, QFileInfo(folder.path).fileName());
    QString reason;
    const QString name = CategoryNameRepair::repair(given, &reason);
    if (!reason.isEmpty())
        m_report.change(QStringLiteral("文件夹“%1”的分类名改为“%2”：%3")
                            .arg(folder.relativePath.isEmpty() ? given : folder.relativePath, name, reason));
    return name;
}

void ImportPlan::ensure(const QStringList &category)
{
    if (m_existing.contains(key(category)))
        return;
    m_existing.insert(key(category));
    m_newCategories.append(category);
}

void ImportPlan::place(const Folder &folder, const QStringList &place, bool isTop, bool folded)
{
    if (!folder.files.isEmpty()) {
        QStringList category = place;
        // No material lies directly under a root.
        if (category.size() == 1) {
            category.append(categoryName(folder));
            ensure(category);
        }
        for (const QString &path : folder.files)
            m_files.append({path, category});
    }
    const bool intoRoot = m_target.size() <= 1;
    for (const Folder &child : folder.children) {
        if (child.hasAnyFile && !child.hasTextFiles) {
            m_report.change(QStringLiteral("文件夹“%1”里没有.md、.txt或源代码文件，没有为它建立分类")
                                .arg(child.relativePath));
            continue;
        }
        const QString given = m_indexNames.value(child.relativePath, QFileInfo(child.path).fileName());
        if (isTop && intoRoot && (given == NodeRules::TextRootText || given == NodeRules::InstanceRootText)) {
            this->place(child, {given}, false, false);
        } else if (place.size() < 3) {
            const QStringList category = place + QStringList{categoryName(child)};
            ensure(category);
            this->place(child, category, false, false);
        } else {
            if (!folded)
                m_report.change(QStringLiteral("文件夹“%1”超出了分类树的三层，它和它下面的资料都放入分类“%2”")
                                    .arg(child.relativePath, place.join(QStringLiteral(" / "))));
            this->place(child, place, false, true);
        }
    }
}
