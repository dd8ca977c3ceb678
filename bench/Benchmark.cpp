#include "Benchmark.h"

#include "BenchFolder.h"
#include "IdleWait.h"
#include "SampleText.h"

#include "base/AnsiText.h"
#include "base/ProgramFolder.h"
#include "browse/MaterialListModel.h"
#include "search/TSerchForm.h"
#include "shell/TMainForm.h"
#include "store/Statements.h"
#include "store/TFile.h"
#include "store/TFileText.h"
#include "store/TMainData.h"
#include "tree/CategoryTree.h"
#include "tree/EOpenFileError.h"
#include "tree/NodeRules.h"
#include "tree/TreeFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTreeWidget>

#include <sys/resource.h>

namespace {
constexpr int InsertCount = 2000;
constexpr std::uint32_t InsertSeed = 4711;

// Picks a list entry the way a user does: the entry becomes current, then its handler runs.
void choose(QComboBox *list, const QString &text, TSerchForm &dialog, void (TSerchForm::*handler)())
{
    list->setCurrentIndex(list->findText(text));
    if (handler)
        (dialog.*handler)();
}

// One material as an add dialog hands it to its record: title and body in their stored form.
struct Material
{
    QString title;
    QString writer;
    QStringList main;
};

void fill(TFileText &record, const Material &material)
{
    record.title = material.title;
    record.bigclassname = BenchFolder::InsertCategory;
    record.writer = material.writer;
    record.main = material.main;
}
} // namespace

Benchmark::Benchmark(const BenchFolder &folder) : m_folder(folder), m_raw(folder.databasePath()) {}

Benchmark::~Benchmark()
{
    m_form.reset();
    m_data.reset();
}

const QStringList Benchmark::FigureNames{QStringLiteral("start"),  QStringLiteral("list"),
                                         QStringLiteral("open"),   QStringLiteral("search"),
                                         QStringLiteral("insert"), QStringLiteral("tree")};

bool Benchmark::run(const QString &only, QString *error)
{
    auto wanted = [&only](const char *figure) { return only.isEmpty() || only == QLatin1String(figure); };
    if (wanted("start") && !measureStart(error))
        return false;
    ProgramFolder::setPathForTesting(m_folder.path());
    m_form = std::make_unique<TMainForm>();
    m_data = std::make_unique<TMainData>();
    m_form->attachDataModule(m_data.get());
    m_form->showMaximized();
    IdleWait::settle();
    if (wanted("list")) {
        if (!measureList(error))
            return false;
    } else {
        showCategory(BenchFolder::BigCategory);
    }
    measureMemory();
    return (!wanted("open") || measureOpen(error)) && (!wanted("search") || measureSearch(error)) &&
           (!wanted("insert") || measureInsert(error)) && (!wanted("tree") || measureTree(error));
}

double Benchmark::startOnce(const QString &folder)
{
    ProgramFolder::setPathForTesting(folder);
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<TMainData> data;
    const double ms = Measure::timed([&form, &data] {
        // In the order of the program's entry.
        form = std::make_unique<TMainForm>();
        data = std::make_unique<TMainData>();
        form->attachDataModule(data.get());
        form->showMaximized();
        IdleWait::settle();
    });
    const bool created = form->isCreated() && form->MainTreeView->topLevelItemCount() == 3;
    form.reset();
    data.reset();
    IdleWait::settle();
    return created ? ms : -1;
}

bool Benchmark::measureStart(QString *error)
{
    m_figures.start = Measure::median([this] { return startOnce(m_folder.path()); }, &m_figures.startFirst);
    m_figures.startBigTree = Measure::median([this] { return startOnce(m_folder.bigTreeFolder()); });
    if (m_figures.start < 0 || m_figures.startFirst < 0 || m_figures.startBigTree < 0) {
        *error = QStringLiteral("the main window was not created");
        return false;
    }
    return true;
}

void Benchmark::showCategory(const QString &name)
{
    CategoryTree::selectNode(m_form->MainTreeView, CategoryTree::findByText(m_form->MainTreeView, name));
    m_form->MainTreeViewClick();
    IdleWait::settle();
}

bool Benchmark::measureList(QString *error)
{
    QTreeWidgetItem *big = CategoryTree::findByText(m_form->MainTreeView, BenchFolder::BigCategory);
    const QByteArray sql =
        Statements::list(BenchFolder::BigCategory, QString(), NodeRules::TextRootText, m_form->ListOrder)
            .toUtf8();
    int rawRows = 0;
    m_figures.list = Measure::alternating(
        [this, big] {
            // Each refresh comes from a small category, as a user's click does.
            showCategory(BenchFolder::SmallCategory);
            CategoryTree::selectNode(m_form->MainTreeView, big);
            IdleWait::settle();
            return Measure::timed([this] {
                m_form->MainTreeViewClick();
                IdleWait::settle();
            });
        },
        [this, &sql, &rawRows] {
            return Measure::timed([this, &sql, &rawRows] { rawRows = m_raw.select(sql); });
        });
    m_figures.listRows = m_form->MainListModel->rowCount();
    if (m_form->ListOrder != 1 || m_figures.listRows != BenchFolder::BigCategoryMaterials ||
        rawRows != m_figures.listRows) {
        *error = QStringLiteral("the list shows %1 entries (order %2), the raw select %3")
                     .arg(m_figures.listRows)
                     .arg(m_form->ListOrder)
                     .arg(rawRows);
        return false;
    }
    return true;
}

void Benchmark::measureMemory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    m_figures.rssMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

bool Benchmark::measureOpen(QString *error)
{
    // A user clicks an entry that is in view.
    QVector<QModelIndex> shown;
    for (int row = 0; row < m_form->MainListModel->rowCount() && shown.size() < 64; ++row) {
        const QModelIndex index = m_form->MainListModel->index(row, 0);
        if (m_form->MainList->viewport()->rect().intersects(m_form->MainList->visualRect(index)))
            shown.append(index);
    }
    if (shown.size() < 2) {
        *error = QStringLiteral("the list shows fewer than two entries");
        return false;
    }
    int turn = 0;
    bool filled = true;
    m_figures.open = Measure::median([this, &shown, &turn, &filled] {
        const QModelIndex row = shown.at(turn++ % shown.size());
        const double ms = Measure::timed([this, &row] {
            m_form->MainList->setCurrentIndex(row);
            IdleWait::settle();
        });
        filled = filled && m_form->MainDetail->topLevelItemCount() > 0;
        return ms;
    });
    if (!filled)
        *error = QStringLiteral("the detail pane stayed empty");
    return filled;
}

bool Benchmark::measureSearch(QString *error)
{
    TSerchForm dialog(m_form->MainTreeView, m_form->StoreItemView, m_form.get());
    choose(dialog.FWComBox, NodeRules::TextRootText, dialog, &TSerchForm::FWComBoxChange);
    choose(dialog.BigComBox, QStringLiteral("全部类别"), dialog, &TSerchForm::BigComBoxChange);
    choose(dialog.SmallComBox, QStringLiteral("全部类别"), dialog, nullptr);
    dialog.TitleKey->setText(SampleText::keyword());
    m_figures.searchStatement = dialog.statement().text();
    const QByteArray sql = m_figures.searchStatement.toUtf8();
    int rawRows = 0;
    m_figures.search = Measure::alternating(
        [&dialog] {
            return Measure::timed([&dialog] {
                dialog.SerchBtnClick();
                IdleWait::settle();
            });
        },
        [this, &sql, &rawRows] {
            return Measure::timed([this, &sql, &rawRows] { rawRows = m_raw.select(sql); });
        });
    m_figures.searchHits = m_form->StoreItemView->rowCount();
    if (m_figures.searchHits == 0 || rawRows != m_figures.searchHits) {
        *error =
            QStringLiteral("the search found %1, the raw select %2").arg(m_figures.searchHits).arg(rawRows);
        return false;
    }
    return true;
}

bool Benchmark::measureInsert(QString *error)
{
    SampleText sample(InsertSeed);
    QVector<Material> materials;
    QList<QByteArray> statements;
    for (int i = 0; i < InsertCount; ++i) {
        materials.append(
            {sample.title(), sample.author(), AnsiText::splitLines(QString::fromUtf8(sample.body()))});
        TFileText record;
        fill(record, materials.last());
        statements.append(record.insertStatement().toUtf8());
    }
    bool ok = true;
    m_figures.insert = Measure::alternating(
        [&materials, &ok] {
            return Measure::timed([&materials, &ok] {
                for (const Material &material : materials) {
                    TFileText record;
                    fill(record, material);
                    ok = record.InsertRecord() && ok;
                }
            });
        },
        [this, &statements, &ok] {
            return Measure::timed([this, &statements, &ok] { ok = m_raw.executeEach(statements) && ok; });
        });
    m_figures.inserts = InsertCount;
    // A kept folder stays as generated for the next run.
    const QString cleanup =
        TFile::deleteStatement(BenchFolder::InsertCategory, QString(), NodeRules::TextRootText);
    if (!ok || !m_raw.executeEach({cleanup.toUtf8()})) {
        *error = ok ? QStringLiteral("the inserted materials could not be removed")
                    : QStringLiteral("an insert failed");
        return false;
    }
    return true;
}

bool Benchmark::measureTree(QString *error)
{
    int categories = 0;
    m_figures.treeLoad = Measure::median([this, &categories] {
        TreeFile file(m_folder.bigTreePath());
        QVector<TreeNode> roots;
        double ms = 0;
        try {
            ms = Measure::timed([&file, &roots] { roots = file.load(); });
        } catch (const EOpenFileError &) {
            return -1.0;
        }
        categories = 0;
        for (const TreeNode &root : roots) {
            for (const TreeNode &first : root.children)
                categories += 1 + static_cast<int>(first.children.size());
        }
        return ms;
    });
    if (categories != BenchFolder::BigTreeCategories) {
        *error = QStringLiteral("the tree file gave %1 categories").arg(categories);
        return false;
    }
    return true;
}
