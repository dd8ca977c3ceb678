#include "exchange/ExchangeCommands.h"

#include "base/ProgramFolder.h"
#include "browse/MaterialListModel.h"
#include "exchange/BaseUpload.h"
#include "exchange/ExchangeReport.h"
#include "exchange/ImportPlan.h"
#include "exchange/ImportedCategories.h"
#include "exchange/MaterialImporter.h"
#include "store/Database.h"
#include "tree/CategoryTree.h"
#include "tree/NodeRules.h"
#include "widgets/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>
#include <QTreeWidget>

#include <climits>

namespace {
const QString ExportCaption = QStringLiteral("导出资料");
const QString ImportCaption = QStringLiteral("导入资料");
const QString UploadCaption = QStringLiteral("上传到共享资料库");
constexpr int ProgressInterval = 100; // milliseconds between two updates of the progress
constexpr int ShowAfter = 400;        // milliseconds of work before the progress dialog shows

const TreeNode *findNode(const QVector<TreeNode> &nodes, const QStringList &names)
{
    for (const TreeNode &node : nodes) {
        if (node.name != names.first())
            continue;
        return names.size() == 1 ? &node : findNode(node.children, names.mid(1));
    }
    return nullptr;
}

// "有3个文件没有导入，2处改动，详见“显示详情”。" or nothing when there is neither.
QString detailsNote(const ExchangeReport &report, const QString &skippedText)
{
    QStringList parts;
    if (report.skippedFiles > 0)
        parts.append(skippedText.arg(report.skippedFiles));
    if (!report.changed.isEmpty())
        parts.append(QStringLiteral("%1处改动").arg(report.changed.size()));
    return parts.isEmpty() ? QString()
                           : QStringLiteral("\n") + parts.join(QStringLiteral("，")) +
                                 QStringLiteral("，详见“显示详情”。");
}
} // namespace

ExchangeCommands::ExchangeCommands(QTreeWidget *tree, const MaterialListModel *searchResults,
                                   TreeStore *treeStore, QWidget *window)
    : QObject(window), m_tree(tree), m_searchResults(searchResults), m_treeStore(treeStore), m_window(window),
      m_lastFolder(QDir::homePath())
{
}

QVector<ExportWriter::Part> ExchangeCommands::exportParts() const
{
    QVector<ExportWriter::Part> parts;
    const QTreeWidgetItem *node = CategoryTree::selectedNode(m_tree);
    if (CategoryTree::isSearchResultNode(node)) {
        // The hits, each under its own root and category, as an export of the whole base would hold them.
        ExportWriter::Part text{{NodeRules::TextRootText}, {}, {}, true};
        ExportWriter::Part instance{{NodeRules::InstanceRootText}, {}, {}, true};
        for (const ListEntry &entry : m_searchResults->entries()) {
            if (entry.image == ListEntry::TextMaterial)
                text.ids.append(entry.id);
            else if (entry.image == ListEntry::InstanceMaterial)
                instance.ids.append(entry.id);
        }
        for (const ExportWriter::Part &part : {text, instance}) {
            if (!part.ids.isEmpty())
                parts.append(part);
        }
        if (parts.isEmpty())
            MessageBoxes::plain(m_window, QStringLiteral("搜索结果中没有资料可以导出，请先搜索！"));
        return parts;
    }
    const QVector<TreeNode> roots = CategoryTree::collect(m_tree);
    if (node) {
        const QStringList names = CategoryTree::pathOf(node);
        const TreeNode *found = findNode(roots, names);
        parts.append({names, found ? found->children : QVector<TreeNode>(), {}, false});
        return parts;
    }
    for (const TreeNode &root : roots) {
        if (root.name != NodeRules::SearchResultText)
            parts.append({{root.name}, root.children, {}, false});
    }
    return parts;
}

QString ExchangeCommands::askFolder(const QString &caption, const QString &name)
{
    QFileDialog dialog(m_window, caption, m_lastFolder);
    dialog.setObjectName(name);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    m_lastFolder = dialog.selectedFiles().first();
    return m_lastFolder;
}

bool ExchangeCommands::showProgress(QProgressDialog &dialog, const QString &text, int done, int total)
{
    if (m_sinceUpdate.isValid() && m_sinceUpdate.elapsed() < ProgressInterval)
        return !dialog.wasCanceled();
    m_sinceUpdate.start();
    dialog.setLabelText(text);
    dialog.setMaximum(qMax(total, 0)); // none while the total is unknown: a busy bar
    dialog.setValue(total > 0 ? qMin(done, total - 1) : 0);
    // Work that ends within a moment shows no dialog.
    if (!dialog.isVisible() && !dialog.wasCanceled() && m_sinceStart.elapsed() >= ShowAfter)
        dialog.show();
    emit statusChanged(text);
    emit progressChanged(total > 0 ? done * 100 / total : 3);
    QCoreApplication::processEvents();
    return !dialog.wasCanceled();
}

void ExchangeCommands::prepareProgress(QProgressDialog &dialog, const QString &caption)
{
    dialog.setObjectName(QStringLiteral("exchangeProgress"));
    dialog.setWindowTitle(caption);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    // Shown by showProgress alone: its own timer would show it when the work is over.
    dialog.setMinimumDuration(INT_MAX);
    dialog.setMinimumWidth(420);
    m_sinceStart.start();
    m_sinceUpdate.start();
}

void ExchangeCommands::exportMaterials()
{
    if (m_running)
        return;
    const QVector<ExportWriter::Part> parts = exportParts();
    if (parts.isEmpty())
        return;
    const QString target =
        askFolder(QStringLiteral("选择导出资料存放的文件夹"), QStringLiteral("exportFolderDialog"));
    if (target.isEmpty())
        return;
    m_running = true;
    QProgressDialog progress(QStringLiteral("正在导出资料……"), QStringLiteral("取消"), 0, 0, m_window);
    prepareProgress(progress, ExportCaption);
    ExportWriter writer(parts);
    const ExchangeReport report = writer.run(target, [this, &progress](int done, int total) {
        return showProgress(progress, QStringLiteral("正在导出资料……（%1/%2）").arg(done).arg(total), done,
                            total);
    });
    progress.close();
    m_running = false;
    switch (report.outcome) {
    case ExchangeReport::Done:
        finish(ExportCaption,
               QStringLiteral("导出完成：%1份资料，%2个分类，在文件夹“%3”中。")
                       .arg(report.materials)
                       .arg(report.categories)
                       .arg(QDir::toNativeSeparators(writer.folder())) +
                   detailsNote(report, QStringLiteral("%1个文件没有导出")),
               report);
        break;
    case ExchangeReport::Cancelled:
        finish(ExportCaption, QStringLiteral("导出已取消，没有写完的导出文件夹已经删除。"), report);
        break;
    case ExchangeReport::Failed:
        finish(ExportCaption,
               QStringLiteral("导出失败：") + report.error +
                   (writer.madeFolder()
                        ? QStringLiteral("\n没有写完的导出文件夹已经删除，库中的资料没有任何改变。")
                        : QStringLiteral("\n导出文件夹没能建立，库中的资料没有任何改变。")),
               report);
        break;
    }
}

void ExchangeCommands::importMaterials()
{
    if (m_running)
        return;
    const QTreeWidgetItem *node = CategoryTree::selectedNode(m_tree);
    if (CategoryTree::isSearchResultNode(node)) {
        MessageBoxes::plain(m_window,
                            QStringLiteral("不能把资料导入到“搜索结果”中，请在左边的分类树中选择一个分类！"));
        return;
    }
    const QString folder =
        askFolder(QStringLiteral("选择要导入的文件夹"), QStringLiteral("importFolderDialog"));
    if (folder.isEmpty())
        return;
    m_running = true;
    QProgressDialog progress(QStringLiteral("正在查看文件夹……"), QStringLiteral("取消"), 0, 0, m_window);
    prepareProgress(progress, ImportCaption);
    ImportPlan plan(folder, node ? CategoryTree::pathOf(node) : QStringList(), CategoryTree::collect(m_tree));
    const bool scanned = plan.scan([this, &progress](int files) {
        return showProgress(progress, QStringLiteral("正在查看文件夹……已找到%1个文件").arg(files), 0, 0);
    });
    ExchangeReport report = plan.report();
    report.outcome = ExchangeReport::Cancelled;
    // The categories go into the tree in the materials' transaction, on the tree as it is then.
    ImportedCategories categories(plan, m_treeStore);
    if (scanned) {
        MaterialImporter importer(plan);
        report = importer.run(
            [this, &progress](int done, int total) {
                return showProgress(progress, QStringLiteral("正在导入资料……（%1/%2）").arg(done).arg(total),
                                    done, total);
            },
            [this, &categories](QString *error) {
                return categories.save(CategoryTree::collect(m_tree), error);
            });
    }
    progress.close();
    m_running = false;
    if (report.outcome == ExchangeReport::Done || categories.reloaded())
        CategoryTree::refill(m_tree, categories.tree());
    switch (report.outcome) {
    case ExchangeReport::Done:
        report.categories = categories.added();
        emit listChanged();
        finish(ImportCaption,
               QStringLiteral("导入完成：%1份资料，新建%2个分类。")
                       .arg(report.materials)
                       .arg(report.categories) +
                   detailsNote(report, QStringLiteral("%1个文件没有导入")),
               report);
        break;
    case ExchangeReport::Cancelled:
        finish(ImportCaption, QStringLiteral("导入已取消，库中的资料和分类都没有改变。"), report);
        break;
    case ExchangeReport::Failed:
        finish(ImportCaption,
               QStringLiteral("导入失败：") + report.error + QStringLiteral("\n库中的资料和分类都没有改变。"),
               report);
        break;
    }
}

void ExchangeCommands::uploadToSharedBase()
{
    if (m_running)
        return;
    const BaseSettings server = BaseSettings::read();
    if (!server.usesServer() || !server.refusal().isEmpty()) {
        MessageBoxes::show(m_window,
                           server.usesServer()
                               ? server.refusal()
                               : QStringLiteral("还没有设置共享资料库：请在程序文件夹里建立Base.ini，"
                                                "写明服务器（见帮助“共享资料库”一节）。"),
                           UploadCaption, QMessageBox::Warning);
        return;
    }
    if (MessageBoxes::show(
            m_window,
            QStringLiteral("把本机的全部资料（Data.QBD）和分类（MTS.qb）复制到共享资料库%1吗？\n"
                           "共享资料库必须是空的；本机的文件不会改变。")
                .arg(server.place()),
            UploadCaption, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_running = true;
    QProgressDialog progress(QStringLiteral("正在连接共享资料库……"), QStringLiteral("取消"), 0, 0, m_window);
    prepareProgress(progress, UploadCaption);
    BaseUpload upload(server, ProgramFolder::filePath(QStringLiteral("Data.QBD")),
                      ProgramFolder::filePath(QStringLiteral("MTS.qb")));
    ExchangeReport report;
    report.outcome = ExchangeReport::Failed;
    const BaseUpload::Outcome outcome = upload.run([this, &progress](int done, int total) {
        if (done < total)
            return showProgress(progress, QStringLiteral("正在上传资料……（%1/%2）").arg(done).arg(total),
                                done, total);
        m_sinceUpdate.invalidate(); // shown at once: the index takes a while
        return showProgress(progress, QStringLiteral("正在共享资料库中建立全文索引，请稍候……"), done, total);
    });
    progress.close();
    m_running = false;
    if (outcome == BaseUpload::Done) {
        report.outcome = ExchangeReport::Done;
        const Database *data = Database::current();
        finish(UploadCaption,
               QStringLiteral(
                   "上传完成：%1份资料、%2个分类已复制到共享资料库%3。本机的Data.QBD和MTS.qb没有改变。")
                       .arg(upload.materials())
                       .arg(upload.categories())
                       .arg(server.place()) +
                   (data && !data->isServer() ? QStringLiteral("\n重新启动Zindrel后就会使用共享资料库。")
                                              : QString()),
               report);
    } else if (outcome == BaseUpload::Cancelled) {
        report.outcome = ExchangeReport::Cancelled;
        finish(UploadCaption, QStringLiteral("上传已取消，共享资料库没有改变。"), report);
    } else {
        finish(UploadCaption,
               QStringLiteral("上传失败：") + upload.error() +
                   QStringLiteral("\n共享资料库没有改变，本机的文件也没有改变。"),
               report);
    }
}

void ExchangeCommands::finish(const QString &caption, const QString &summary, const ExchangeReport &report)
{
    const bool done = report.outcome == ExchangeReport::Done;
    emit progressChanged(done ? 100 : 0);
    emit statusChanged(summary.section(QLatin1Char('\n'), 0, 0));
    QMessageBox box(done ? QMessageBox::Information : QMessageBox::Warning, caption, summary, QMessageBox::Ok,
                    m_window);
    box.setObjectName(QStringLiteral("exchangeReport"));
    if (!report.details().isEmpty())
        box.setDetailedText(report.details());
    box.exec();
}
