#include "MainFormFixture.h"

#include "shell/TMainForm.h"
#include "store/SqlText.h"
#include "store/TMainData.h"
#include "tree/CategoryTree.h"

#include <QListView>
#include <QTreeWidget>

MainFormFixture::MainFormFixture(const QStringList &treeLines)
{
    if (!treeLines.isEmpty())
        folder.writeLines(QStringLiteral("MTS.qb"), treeLines);
    form = std::make_unique<TMainForm>();
    data = std::make_unique<TMainData>();
    form->attachDataModule(data.get());
    form->resize(900, 700);
}

MainFormFixture::~MainFormFixture()
{
    form.reset();
    data.reset();
}

QTreeWidgetItem *MainFormFixture::node(const QString &name) const
{
    return CategoryTree::findByText(form->MainTreeView, name);
}

void MainFormFixture::click(const QString &name)
{
    clickNode(node(name));
}

void MainFormFixture::clickNode(QTreeWidgetItem *node)
{
    CategoryTree::selectNode(form->MainTreeView, node);
    form->MainTreeViewClick();
}

void MainFormFixture::selectRow(int row)
{
    form->MainList->setCurrentIndex(form->MainListModel->index(row, 0));
}

int MainFormFixture::rowOf(const QString &caption) const
{
    return static_cast<int>(captions().indexOf(caption));
}

QStringList MainFormFixture::captions() const
{
    QStringList result;
    for (const ListEntry &entry : form->MainListModel->entries())
        result.append(entry.caption);
    return result;
}

QList<int> MainFormFixture::images() const
{
    QList<int> result;
    for (const ListEntry &entry : form->MainListModel->entries())
        result.append(entry.image);
    return result;
}

QVector<ListEntry> MainFormFixture::entries() const
{
    return form->MainListModel->entries();
}

qint64 MainFormFixture::addText(const QString &title, const QString &bigClass, const QString &className,
                                const QString &createTime, const QString &body, const QString &writer)
{
    using SqlText::literal;
    folder.exec(
        QStringLiteral("insert into textfile(title,classname,bigclassname,writer,createtime,main) values(") +
        literal(QuoteForSql(title, false)) + QLatin1Char(',') + literal(className) + QLatin1Char(',') +
        literal(bigClass) + QLatin1Char(',') + literal(writer) + QLatin1Char(',') + literal(createTime) +
        QLatin1Char(',') + literal(QuoteForSql(body, true)) + QLatin1Char(')'));
    return folder.value(QStringLiteral("select max(id) from textfile")).toLongLong();
}

qint64 MainFormFixture::addInstance(const QString &title, const QString &bigClass, const QString &className,
                                    const QString &path, const QString &about)
{
    using SqlText::literal;
    folder.exec(
        QStringLiteral(
            "insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) values(") +
        literal(QuoteForSql(title, false)) + QLatin1Char(',') + literal(className) + QLatin1Char(',') +
        literal(bigClass) + QStringLiteral(",'','2026-01-01 10:00:00',") + literal(QuoteForSql(about, true)) +
        QLatin1Char(',') + literal(path) + QLatin1Char(')'));
    return folder.value(QStringLiteral("select max(id) from exefile")).toLongLong();
}
