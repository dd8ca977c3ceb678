#include "BenchFolder.h"

#include "SampleText.h"

#include "tree/NodeRules.h"
#include "tree/TreeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <memory>
#include <vector>

namespace {
constexpr std::uint32_t Seed = 20030715;
constexpr int TextFirstLevel = 90; // besides the big and the insert category
constexpr int TextSecondLevel = 270;
constexpr int InstanceFirstLevel = 10;
constexpr int InstanceSecondLevel = 30;
constexpr int SmallCategoryMaterials = 10;

struct Category
{
    QString bigClass;
    QString className;
};

// Categories under one root: first-level names each with its share of second-level names.
TreeNode rootOf(const QString &name, const QVector<TreeNode> &firstLevel)
{
    return {name, NodeRules::RootCollapsed, firstLevel};
}

QVector<TreeNode> categories(SampleText &sample, const QString &prefix, int firstCount, int secondCount)
{
    QVector<TreeNode> nodes;
    for (int i = 0; i < firstCount; ++i) {
        TreeNode node{sample.word() + prefix + QString::number(i + 1), NodeRules::FirstLevelCollapsed, {}};
        const int children = secondCount / firstCount + (i < secondCount % firstCount ? 1 : 0);
        for (int j = 0; j < children; ++j)
            node.children.append(
                {sample.asciiWord() + QLatin1Char(' ') + QString::number(j + 1), NodeRules::SecondLevel, {}});
        nodes.append(node);
    }
    return nodes;
}

// Every place a material can be filed under the root: each first-level category itself and
// each of its second-level categories.
QVector<Category> placesOf(const TreeNode &root)
{
    QVector<Category> places;
    for (const TreeNode &first : root.children) {
        places.append({first.name, QString()});
        for (const TreeNode &second : first.children)
            places.append({first.name, second.name});
    }
    return places;
}

using Connection = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

bool exec(sqlite3 *db, const QByteArray &sql, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *error = QString::fromUtf8(message) + QStringLiteral(" in ") + QString::fromUtf8(sql.left(80));
    sqlite3_free(message);
    return false;
}

// The installed schema, statement by statement, comment lines left out.
QList<QByteArray> schemaStatements(QString *error)
{
    QFile file(QStringLiteral(ZINDREL_INSTALL_DIR "/schema.sql"));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + file.fileName();
        return {};
    }
    QByteArray kept;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (!line.trimmed().startsWith("--"))
            kept += line + '\n';
    }
    QList<QByteArray> statements;
    for (const QByteArray &statement : kept.split(';')) {
        if (!statement.trimmed().isEmpty())
            statements.append(statement.trimmed());
    }
    return statements;
}

void bindText(sqlite3_stmt *statement, int column, const QByteArray &text)
{
    sqlite3_bind_text(statement, column, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Where each of the materials goes: the big category gets exactly its share, the others are
// spread at random; then the order is shuffled, as materials are added over the years.
std::vector<int> placements(SampleText &sample, int materials, int bigShare, int places, int bigPlace)
{
    std::vector<int> chosen(static_cast<size_t>(materials));
    for (int i = 0; i < materials; ++i) {
        int place = bigPlace;
        if (i >= bigShare) {
            do
                place = sample.below(places);
            while (place == bigPlace);
        }
        chosen[static_cast<size_t>(i)] = place;
    }
    for (int i = materials - 1; i > 0; --i)
        std::swap(chosen[static_cast<size_t>(i)], chosen[static_cast<size_t>(sample.below(i + 1))]);
    return chosen;
}
} // namespace

const QString BenchFolder::BigCategory = QStringLiteral("大类资料");
const QString BenchFolder::InsertCategory = QStringLiteral("插入测试");
const QString BenchFolder::SmallCategory = QStringLiteral("小类资料");

BenchFolder::BenchFolder(const QString &path)
{
    if (path.isEmpty()) {
        m_temporary = std::make_unique<QTemporaryDir>();
        m_path = m_temporary->isValid() ? m_temporary->path() : QString();
    } else {
        m_path = QDir(path).absolutePath();
    }
}

QString BenchFolder::databasePath() const
{
    return QDir(path()).filePath(QStringLiteral("Data.QBD"));
}

QString BenchFolder::bigTreeFolder() const
{
    return QDir(path()).filePath(QStringLiteral("big-tree"));
}

QString BenchFolder::bigTreePath() const
{
    return QDir(bigTreeFolder()).filePath(QStringLiteral("MTS.qb"));
}

bool BenchFolder::create(QString *error)
{
    if (m_path.isEmpty()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    m_reused = QFile::exists(databasePath()) && QFile::exists(bigTreePath());
    const QString bigTreeDatabase = QDir(bigTreeFolder()).filePath(QStringLiteral("Data.QBD"));
    // A folder of earlier runs shared the big base with the big tree, whose start then grew that
    // base's categories into the tree: both are made again.
    if (m_reused && QFileInfo(bigTreeDatabase).isSymLink())
        return QFile::remove(bigTreeDatabase) && createEmptyDatabase(bigTreeDatabase, error) &&
               writeTrees(mainTree(), error);
    if (m_reused)
        return true;
    // Never into a folder that holds something else.
    if (QDir(m_path).exists() && !QDir(m_path).isEmpty()) {
        *error = m_path + QStringLiteral(" is not empty");
        return false;
    }
    const QString settings = QStringLiteral(ZINDREL_INSTALL_DIR "/QB.ini");
    if (!QDir().mkpath(bigTreeFolder()) ||
        !QFile::copy(settings, QDir(path()).filePath(QStringLiteral("QB.ini"))) ||
        !QFile::copy(settings, QDir(bigTreeFolder()).filePath(QStringLiteral("QB.ini"))) ||
        !createEmptyDatabase(bigTreeDatabase, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("cannot prepare ") + path();
        return false;
    }
    const QVector<TreeNode> roots = mainTree();
    return writeTrees(roots, error) && writeDatabase(roots, error);
}

bool BenchFolder::createEmpty(const QString &path, QString *error)
{
    const QVector<TreeNode> roots{rootOf(NodeRules::TextRootText, {}),
                                  rootOf(NodeRules::InstanceRootText, {}),
                                  rootOf(NodeRules::SearchResultText, {})};
    return TreeFile(QDir(path).filePath(QStringLiteral("MTS.qb"))).save(roots, error) &&
           createEmptyDatabase(QDir(path).filePath(QStringLiteral("Data.QBD")), error);
}

bool BenchFolder::createEmptyDatabase(const QString &databaseFile, QString *error)
{
    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(databaseFile.toUtf8().constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Connection db(raw, &sqlite3_close);
    if (opened != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(raw));
        return false;
    }
    const QList<QByteArray> schema = schemaStatements(error);
    for (const QByteArray &statement : schema) {
        if (!exec(db.get(), statement, error))
            return false;
    }
    return !schema.isEmpty();
}

QVector<TreeNode> BenchFolder::mainTree()
{
    SampleText names(Seed);
    QVector<TreeNode> text = categories(names, QString(), TextFirstLevel, TextSecondLevel);
    text.prepend({BigCategory, NodeRules::FirstLevelCollapsed, {}});
    text.append({SmallCategory, NodeRules::FirstLevelCollapsed, {}});
    text.append({InsertCategory, NodeRules::FirstLevelCollapsed, {}});
    return {rootOf(NodeRules::TextRootText, text),
            rootOf(NodeRules::InstanceRootText,
                   categories(names, QString(), InstanceFirstLevel, InstanceSecondLevel)),
            rootOf(NodeRules::SearchResultText, {})};
}

bool BenchFolder::writeTrees(const QVector<TreeNode> &roots, QString *error) const
{
    TreeFile tree(QDir(path()).filePath(QStringLiteral("MTS.qb")));
    if (!tree.save(roots, error))
        return false;

    // 5,000 categories: 500 first-level ones with nine second-level ones each.
    SampleText names(Seed + 2);
    const int firstLevel = BigTreeCategories / 10;
    const int instanceFirst = firstLevel / 10;
    const int textFirst = firstLevel - instanceFirst;
    const QVector<TreeNode> bigRoots{
        rootOf(NodeRules::TextRootText, categories(names, QStringLiteral("-"), textFirst, 9 * textFirst)),
        rootOf(NodeRules::InstanceRootText,
               categories(names, QStringLiteral("-"), instanceFirst, 9 * instanceFirst)),
        rootOf(NodeRules::SearchResultText, {})};
    TreeFile bigTree(bigTreePath());
    return bigTree.save(bigRoots, error);
}

bool BenchFolder::writeDatabase(const QVector<TreeNode> &roots, QString *error) const
{
    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(databasePath().toUtf8().constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Connection db(raw, &sqlite3_close);
    if (opened != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(raw));
        return false;
    }
    const QList<QByteArray> schema = schemaStatements(error);
    if (schema.isEmpty())
        return false;
    // The tables first and the indexes after the rows: one sort per index instead of 220,000
    // scattered index inserts. The schema stays the installed one.
    if (!exec(db.get(), "pragma journal_mode=off; pragma synchronous=off; begin", error))
        return false;
    for (const QByteArray &statement : schema) {
        if (statement.startsWith("CREATE TABLE") && !exec(db.get(), statement, error))
            return false;
    }

    SampleText sample(Seed + 1);
    // Text materials go anywhere but the small and the insert category, which come last.
    QVector<Category> textPlaces = placesOf(roots.at(0));
    textPlaces.resize(textPlaces.size() - 2);
    const Category small{SmallCategory, QString()};
    const QVector<Category> instancePlaces = placesOf(roots.at(1));

    sqlite3_stmt *rawInsert = nullptr;
    sqlite3_prepare_v2(db.get(),
                       "insert into textfile(title,classname,bigclassname,writer,createtime,main) "
                       "values(?,?,?,?,?,?)",
                       -1, &rawInsert, nullptr);
    Statement insertText(rawInsert, &sqlite3_finalize);
    // The big category, the first place, gets exactly its 20,000; the small one a handful.
    const std::vector<int> textPlacement =
        placements(sample, TextMaterials - SmallCategoryMaterials, BigCategoryMaterials,
                   static_cast<int>(textPlaces.size()), 0);
    for (int i = 0; i < TextMaterials; ++i) {
        const Category &place =
            i < SmallCategoryMaterials
                ? small
                : textPlaces.at(textPlacement[static_cast<size_t>(i - SmallCategoryMaterials)]);
        bindText(insertText.get(), 1, sample.title().toUtf8());
        bindText(insertText.get(), 2, place.className.toUtf8());
        bindText(insertText.get(), 3, place.bigClass.toUtf8());
        bindText(insertText.get(), 4, sample.author().toUtf8());
        bindText(insertText.get(), 5, sample.createTime().toUtf8());
        bindText(insertText.get(), 6, sample.body());
        if (sqlite3_step(insertText.get()) != SQLITE_DONE) {
            *error = QString::fromUtf8(sqlite3_errmsg(db.get()));
            return false;
        }
        sqlite3_reset(insertText.get());
    }

    sqlite3_stmt *rawInstance = nullptr;
    sqlite3_prepare_v2(db.get(),
                       "insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) "
                       "values(?,?,?,?,?,?,?)",
                       -1, &rawInstance, nullptr);
    Statement insertInstance(rawInstance, &sqlite3_finalize);
    for (int i = 0; i < InstanceMaterials; ++i) {
        const Category &place = instancePlaces.at(sample.below(static_cast<int>(instancePlaces.size())));
        bindText(insertInstance.get(), 1, sample.title().toUtf8());
        bindText(insertInstance.get(), 2, place.className.toUtf8());
        bindText(insertInstance.get(), 3, place.bigClass.toUtf8());
        bindText(insertInstance.get(), 4, sample.author().toUtf8());
        bindText(insertInstance.get(), 5, sample.createTime().toUtf8());
        bindText(insertInstance.get(), 6, sample.body(100, 600));
        bindText(insertInstance.get(), 7,
                 QStringLiteral("/opt/tools/%1-%2/bin/run").arg(sample.asciiWord()).arg(i).toUtf8());
        if (sqlite3_step(insertInstance.get()) != SQLITE_DONE) {
            *error = QString::fromUtf8(sqlite3_errmsg(db.get()));
            return false;
        }
        sqlite3_reset(insertInstance.get());
    }
    insertText.reset();
    insertInstance.reset();

    for (const QByteArray &statement : schema) {
        if (!statement.startsWith("CREATE TABLE") && !exec(db.get(), statement, error))
            return false;
    }
    return exec(db.get(), "commit", error);
}
