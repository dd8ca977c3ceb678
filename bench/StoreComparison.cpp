#include "StoreComparison.h"

#include "BenchFolder.h"
#include "IdleWait.h"
#include "InsertSample.h"
#include "RawStore.h"
#include "SampleText.h"

#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "browse/Navigator.h"
#include "search/SearchDialog.h"
#include "shell/MainWindow.h"
#include "store/Statements.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

namespace {
// Picks a list entry the way a user does: the entry becomes current, then the list says so.
void choose(QComboBox *list, const QString &text)
{
    const int index = list->findText(text);
    list->setCurrentIndex(index);
    emit list->activated(index);
}
} // namespace

StoreComparison::StoreComparison(MainWindow &window, const RawStore &raw) : m_window(window), m_raw(raw) {}

void StoreComparison::showCategory(MainWindow &window, const QString &name)
{
    CategoryTree::selectNode(window.categoryTree(), CategoryTree::findByText(window.categoryTree(), name));
    window.navigator()->visitSelectedCategory();
    IdleWait::settle();
}

bool StoreComparison::list(Measure::Pair *pair, int *rows, QString *error)
{
    QTreeWidgetItem *big = CategoryTree::findByText(m_window.categoryTree(), BenchFolder::BigCategory);
    const QByteArray sql = Statements::list(BenchFolder::BigCategory, QString(), NodeRules::TextRootText,
                                            m_window.materialList()->order())
                               .toUtf8();
    int rawRows = 0;
    *pair = Measure::alternating(
        [this, big] {
            // Each refresh comes from a small category, as a user's click does.
            showCategory(m_window, BenchFolder::SmallCategory);
            CategoryTree::selectNode(m_window.categoryTree(), big);
            IdleWait::settle();
            return Measure::timed([this] {
                m_window.navigator()->visitSelectedCategory();
                IdleWait::settle();
            });
        },
        [this, &sql, &rawRows] {
            return Measure::timed([this, &sql, &rawRows] { rawRows = m_raw.select(sql); });
        });
    *rows = m_window.materialList()->model()->rowCount();
    if (m_window.materialList()->order() != 1 || *rows != BenchFolder::BigCategoryMaterials ||
        rawRows != *rows) {
        *error = QStringLiteral("the list shows %1 entries (order %2), the raw select %3")
                     .arg(*rows)
                     .arg(m_window.materialList()->order())
                     .arg(rawRows);
        return false;
    }
    return true;
}

bool StoreComparison::search(StoreFigures *figures, QString *error)
{
    SearchDialog dialog(m_window.categoryTree(), m_window.materialList()->searchResults(), &m_window);
    choose(dialog.findChild<QComboBox *>(QStringLiteral("kindCombo")), NodeRules::TextRootText);
    choose(dialog.findChild<QComboBox *>(QStringLiteral("categoryCombo")), QStringLiteral("全部类别"));
    choose(dialog.findChild<QComboBox *>(QStringLiteral("subcategoryCombo")), QStringLiteral("全部类别"));
    dialog.findChild<QLineEdit *>(QStringLiteral("titleKeywordEdit"))->setText(SampleText::keyword());
    figures->searchStatement = dialog.statement().text();
    const QByteArray sql = figures->searchStatement.toUtf8();
    int rawRows = 0;
    figures->search = Measure::alternating(
        [&dialog] {
            return Measure::timed([&dialog] {
                dialog.search();
                IdleWait::settle();
            });
        },
        [this, &sql, &rawRows] {
            return Measure::timed([this, &sql, &rawRows] { rawRows = m_raw.select(sql); });
        });
    figures->searchHits = m_window.materialList()->searchResults()->rowCount();
    if (figures->searchHits == 0 || rawRows != figures->searchHits) {
        *error =
            QStringLiteral("the search found %1, the raw select %2").arg(figures->searchHits).arg(rawRows);
        return false;
    }
    return true;
}

bool StoreComparison::insert(StoreFigures *figures, QString *error)
{
    const InsertSample sample;
    const QList<QByteArray> statements = sample.statements();
    bool ok = true;
    figures->insert = Measure::alternating(
        [&sample, &ok] { return Measure::timed([&sample, &ok] { ok = sample.insertAll() && ok; }); },
        [this, &statements, &ok] {
            return Measure::timed([this, &statements, &ok] { ok = m_raw.executeEach(statements) && ok; });
        });
    figures->inserts = InsertSample::Count;
    if (!ok || !m_raw.executeEach({InsertSample::removal().toUtf8()})) {
        *error = ok ? QStringLiteral("the inserted materials could not be removed")
                    : QStringLiteral("an insert failed");
        return false;
    }
    return true;
}
