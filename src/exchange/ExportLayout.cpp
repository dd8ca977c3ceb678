#include "exchange/ExportLayout.h"

#include "exchange/ExportIndex.h"
#include "exchange/SafeName.h"

ExportLayout::ExportLayout()
{
    m_topNames.reserve(ExportIndex::FileName);
}

int ExportLayout::add(const Folder &folder)
{
    m_folders.append(folder);
    m_nodes.append(Node());
    return count() - 1;
}

int ExportLayout::addTop(const QStringList &names)
{
    const QString name = names.last();
    m_tops.append(add({m_topNames.claim(SafeName::make(name)), name, names, names.size() == 1}));
    return m_tops.last();
}

int ExportLayout::child(int folder, const QString &name)
{
    const auto found = m_nodes.at(folder).children.constFind(name);
    if (found != m_nodes.at(folder).children.cend())
        return found.value();
    const Folder &parent = m_folders.at(folder);
    const QString path = parent.path + QLatin1Char('/') + m_nodes[folder].names.claim(SafeName::make(name));
    const int index = add({path, name, parent.names + QStringList{name}, false});
    m_nodes[folder].children.insert(name, index);
    m_nodes[folder].order.append(index);
    return index;
}

void ExportLayout::appendSubtree(int folder, QVector<int> *order) const
{
    order->append(folder);
    for (int child : m_nodes.at(folder).order)
        appendSubtree(child, order);
}

QVector<int> ExportLayout::treeOrder() const
{
    QVector<int> order;
    for (int top : m_tops)
        appendSubtree(top, &order);
    return order;
}

int ExportLayout::descendant(int top, const QStringList &names)
{
    int folder = top;
    for (const QString &name : names)
        folder = child(folder, name);
    return folder;
}

QString ExportLayout::claimFile(int folder, const QString &title)
{
    return m_nodes[folder].names.claim(SafeName::make(title), QStringLiteral(".md"));
}
