#include "MainWindowFixture.h"

#include "browse/DetailPane.h"
#include "browse/MaterialList.h"
#include "browse/Navigator.h"
#include "shell/MainWindow.h"
#include "store/Database.h"
#include "store/SqlText.h"
#include "tree/CategoryTree.h"
#include "tree/ServerTree.h"
#include "widgets/ProgramEvents.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QToolButton>
#include <QTreeWidget>

MainWindowFixture::MainWindowFixture(const QStringList &treeLines,
                                     const std::function<void(const TestFolder &folder)> &prepare)
{
    if (!treeLines.isEmpty())
        folder.writeLines(QStringLiteral("MTS.qb"), treeLines);
    if (prepare)
        prepare(folder);
    database = std::make_unique<Database>();
    if (database->isServer())
        serverTree = std::make_unique<ServerTree>(database.get());
    window = std::make_unique<MainWindow>(serverTree.get());
    window->attachDatabase(database.get());
    window->resize(900, 700);
    // The rest of the start, which the program does once its window is on screen.
    QCoreApplication::sendPostedEvents(window.get(), ProgramEvent::FinishStart);
}

MainWindowFixture::~MainWindowFixture()
{
    window.reset();
    serverTree.reset();
    database.reset();
}

QTreeWidget *MainWindowFixture::tree() const
{
    return window->categoryTree();
}

MaterialList *MainWindowFixture::list() const
{
    return window->materialList();
}

QListView *MainWindowFixture::listView() const
{
    return list()->view();
}

MaterialListModel *MainWindowFixture::model() const
{
    return list()->model();
}

QTreeWidget *MainWindowFixture::detail() const
{
    return window->detailPane()->rows();
}

DetailPane *MainWindowFixture::detailPane() const
{
    return window->detailPane();
}

Navigator *MainWindowFixture::navigator() const
{
    return window->navigator();
}

QLabel *MainWindowFixture::statusLine() const
{
    return childNamed<QLabel>(window.get(), "statusLine");
}

QToolButton *MainWindowFixture::button(const char *name) const
{
    return childNamed<QToolButton>(window.get(), name);
}

QTreeWidgetItem *MainWindowFixture::node(const QString &name) const
{
    return CategoryTree::findByText(tree(), name);
}

void MainWindowFixture::click(const QString &name)
{
    clickNode(node(name));
}

void MainWindowFixture::clickNode(QTreeWidgetItem *node)
{
    CategoryTree::selectNode(tree(), node);
    navigator()->visitSelectedCategory();
}

void MainWindowFixture::selectRow(int row)
{
    listView()->setCurrentIndex(model()->index(row, 0));
}

int MainWindowFixture::rowOf(const QString &caption) const
{
    return static_cast<int>(captions().indexOf(caption));
}

QStringList MainWindowFixture::captions() const
{
    QStringList result;
    for (const ListEntry &entry : model()->entries())
        result.append(entry.caption);
    return result;
}

QList<int> MainWindowFixture::images() const
{
    QList<int> result;
    for (const ListEntry &entry : model()->entries())
        result.append(entry.image);
    return result;
}

QVector<ListEntry> MainWindowFixture::entries() const
{
    return model()->entries();
}

qint64 MainWindowFixture::addText(const QString &title, const QString &bigClass, const QString &className,
                                  const QString &createTime, const QString &body, const QString &writer)
{
    using SqlText::literal;
    folder.exec(
        QStringLiteral("insert into textfile(title,classname,bigclassname,writer,createtime,main) values(") +
        literal(SqlText::toTokens(title, false)) + QLatin1Char(',') + literal(className) + QLatin1Char(',') +
        literal(bigClass) + QLatin1Char(',') + literal(writer) + QLatin1Char(',') + literal(createTime) +
        QLatin1Char(',') + literal(SqlText::toTokens(body, true)) + QLatin1Char(')'));
    return folder.value(QStringLiteral("select max(id) from textfile")).toLongLong();
}

qint64 MainWindowFixture::addInstance(const QString &title, const QString &bigClass, const QString &className,
                                      const QString &path, const QString &about)
{
    using SqlText::literal;
    folder.exec(
        QStringLiteral(
            "insert into exefile(title,classname,bigclassname,writer,createtime,about,fpath) values(") +
        literal(SqlText::toTokens(title, false)) + QLatin1Char(',') + literal(className) + QLatin1Char(',') +
        literal(bigClass) + QStringLiteral(",'','2026-01-01 10:00:00',") +
        literal(SqlText::toTokens(about, true)) + QLatin1Char(',') + literal(path) + QLatin1Char(')'));
    return folder.value(QStringLiteral("select max(id) from exefile")).toLongLong();
}
