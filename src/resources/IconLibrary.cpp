#include "resources/IconLibrary.h"

#include "resources/ModeIconEngine.h"

#include <QHash>
#include <QPixmap>
#include <QStringList>

namespace IconLibrary {

namespace {

QIcon fromFile(const QString &name)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, QIcon(QStringLiteral(":/icons/%1.svg").arg(name)));
    return it.value();
}

QIcon fromList(const QStringList &names, int index)
{
    return index >= 0 && index < names.size() ? fromFile(names.at(index)) : QIcon();
}

// The greyed look of an available picture, used where a button shows that it cannot act.
QIcon unavailable(const QIcon &icon)
{
    return QIcon(new ModeIconEngine(icon, icon, QIcon::Disabled));
}

} // namespace

QIcon mainImage(int index)
{
    static const QStringList names = {QStringLiteral("category-add"),
                                      QStringLiteral("category-rename"),
                                      QStringLiteral("category-delete"),
                                      QStringLiteral("material-add"),
                                      QStringLiteral("quit"),
                                      QStringLiteral("material-delete"),
                                      QStringLiteral("material-edit"),
                                      QStringLiteral("options"),
                                      QStringLiteral("material-move"),
                                      QStringLiteral("sort"),
                                      QStringLiteral("search"),
                                      QStringLiteral("help"),
                                      QStringLiteral("mail"),
                                      QStringLiteral("web"),
                                      QStringLiteral("back"),
                                      QStringLiteral("forward"),
                                      QStringLiteral("up")};
    if (index >= 17 && index <= 19) {
        static QHash<int, QIcon> greyed;
        if (!greyed.contains(index))
            greyed.insert(index, unavailable(mainImage(index - 3)));
        return greyed.value(index);
    }
    return fromList(names, index);
}

QIcon treeImage(int index)
{
    static const QStringList names = {
        QStringLiteral("root-closed"),     QStringLiteral("folder-closed"),   QStringLiteral("folder-leaf"),
        QStringLiteral("root-open"),       QStringLiteral("folder-open"),     QStringLiteral("category-add"),
        QStringLiteral("category-rename"), QStringLiteral("category-delete"), QStringLiteral("material-add")};
    return fromList(names, index);
}

QIcon treeNodeIcon(int image, int selectedImage)
{
    static QHash<int, QIcon> cache;
    const int key = image * 16 + selectedImage;
    auto it = cache.find(key);
    if (it != cache.end())
        return it.value();
    return cache
        .insert(key, QIcon(new ModeIconEngine(treeImage(image), treeImage(selectedImage), QIcon::Normal)))
        .value();
}

QIcon listImage(int index)
{
    static const QStringList names = {QStringLiteral("folder-full"),   QStringLiteral("folder-closed"),
                                      QStringLiteral("folder-open"),   QStringLiteral("root-closed"),
                                      QStringLiteral("text-material"), QStringLiteral("instance-material"),
                                      QStringLiteral("material-add"),  QStringLiteral("material-delete"),
                                      QStringLiteral("material-edit"), QStringLiteral("view"),
                                      QStringLiteral("material-move"), QStringLiteral("sort")};
    return fromList(names, index);
}

QIcon detailImage(int index)
{
    static const QStringList names = {QStringLiteral("detail-row"), QStringLiteral("quit")};
    return fromList(names, index);
}

QIcon viewerImage(int index)
{
    static const QStringList names = {QStringLiteral("select-all"), QStringLiteral("copy")};
    return fromList(names, index);
}

QIcon exchangeImage(int index)
{
    static const QStringList names = {QStringLiteral("materials-export"), QStringLiteral("materials-import"),
                                      QStringLiteral("base-upload")};
    return fromList(names, index);
}

QIcon historyImage(int index)
{
    static const QStringList names = {QStringLiteral("material-versions"), QStringLiteral("recycle-bin")};
    return fromList(names, index);
}

QIcon mainIcon()
{
    return fromFile(QStringLiteral("zindrel"));
}

QIcon clearTextImage()
{
    return fromFile(QStringLiteral("text-clear"));
}

} // namespace IconLibrary
