#include "MainWindowFixture.h"

#include "browse/DetailPane.h"
#include "browse/DetailRows.h"
#include "browse/MaterialList.h"
#include "browse/MaterialReader.h"
#include "browse/MaterialViewer.h"
#include "capture/QuickInstanceDialog.h"
#include "capture/QuickTextDialog.h"
#include "code/HighlightDefinitions.h"
#include "edit/InstanceMaterialDialog.h"
#include "edit/TextMaterialDialog.h"
#include "search/SearchDialog.h"
#include "settings/ColorContrast.h"
#include "settings/OptionsDialog.h"
#include "shell/MainWindow.h"
#include "widgets/ActionLink.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QStringList Tree{QStringLiteral("文字资料0"), QStringLiteral("+A1"), QStringLiteral("实例资料0"),
                       QStringLiteral("+T1"), QStringLiteral("搜索结果0")};

QString nameOf(QObject *object)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

QAccessible::Role roleOf(QObject *object)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->role() : QAccessible::NoRole;
}

// Every field of the window that a person types into or picks from, without a name.
QStringList unnamedFields(QWidget *window)
{
    QStringList unnamed;
    const QList<QWidget *> fields = window->findChildren<QWidget *>();
    for (QWidget *field : fields) {
        const bool input = qobject_cast<QLineEdit *>(field) || qobject_cast<QComboBox *>(field) ||
                           qobject_cast<QPlainTextEdit *>(field) || qobject_cast<QAbstractSpinBox *>(field);
        // A combo box's or a spin box's own line edit is named through its owner.
        const bool part = qobject_cast<QComboBox *>(field->parentWidget()) ||
                          qobject_cast<QAbstractSpinBox *>(field->parentWidget());
        // A dialog the window keeps (its font dialog) is a window of its own.
        if (input && !part && field->window() == window && nameOf(field).trimmed().isEmpty())
            unnamed.append(field->objectName().isEmpty()
                               ? QString::fromLatin1(field->metaObject()->className())
                               : field->objectName());
    }
    return unnamed;
}
} // namespace

// What assistive technology is told (names for the main parts and every field, links as links,
// windows as dialogs or frames), and colours that read under any theme.
class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void mainPartsAreNamed()
    {
        MainWindowFixture fixture(Tree);
        fixture.window->show();
        QCOMPARE(nameOf(fixture.tree()), QStringLiteral("分类"));
        QCOMPARE(nameOf(fixture.listView()), QStringLiteral("资料列表"));
        QCOMPARE(nameOf(fixture.detail()), QStringLiteral("资料详情"));
        QCOMPARE(unnamedFields(fixture.window.get()), QStringList());
    }

    // The detail pane's links are links, reached with Tab and followed with Enter.
    void linksAreLinksAndTakeTheKeyboard()
    {
        MainWindowFixture fixture(Tree);
        fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QString(), QStringLiteral("2026-01-01"),
                        QStringLiteral("body"));
        fixture.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.window.get()));
        fixture.click(QStringLiteral("A"));
        fixture.selectRow(0);
        ActionLink *link = fixture.detailPane()->links().first();
        QCOMPARE(roleOf(link), QAccessible::Link);
        QCOMPARE(nameOf(link), DetailRows::ViewHere);
        QVERIFY(link->focusPolicy() & Qt::TabFocus);
        link->setFocus();
        QTest::keyClick(link, Qt::Key_Return);
        QVERIFY(fixture.detailPane()->viewer()->isVisible());
    }

    // A dark theme gives a dark tree with light text; a black viewer shows light text.
    void coloursReadOnDarkThemesAndBlackViewers()
    {
        const QPalette saved = QApplication::palette();
        QPalette dark = saved;
        dark.setColor(QPalette::ToolTipBase, QColor(40, 40, 40));
        dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
        QApplication::setPalette(dark);
        {
            MainWindowFixture fixture(Tree);
            QCOMPARE(fixture.tree()->palette().color(QPalette::Base), QColor(40, 40, 40));
            QCOMPARE(fixture.tree()->palette().color(QPalette::Text), QColor(230, 230, 230));
            fixture.addText(QStringLiteral("t"), QStringLiteral("A"), QString(), QStringLiteral("2026-01-01"),
                            QStringLiteral("body"));
            fixture.detailPane()->setViewerSettings({false, false, 0}); // black, as the options offer it
            fixture.click(QStringLiteral("A"));
            fixture.selectRow(0);
            emit fixture.detailPane()->links().first()->clicked(fixture.detailPane()->links().first());
            const QPalette viewer = fixture.detailPane()->viewer()->sourceView()->palette();
            QCOMPARE(viewer.color(QPalette::Base), QColor(Qt::black));
            QVERIFY(ColorContrast::ratio(viewer.color(QPalette::Text), Qt::black) >=
                    ColorContrast::ReadableRatio);
        }
        QApplication::setPalette(saved);
    }

    void dialogsNameTheirFields()
    {
        MainWindowFixture fixture(Tree);
        const QStringList text{QStringLiteral("文字资料"), QStringLiteral("A"), QString()};
        const QStringList instance{QStringLiteral("实例资料"), QStringLiteral("T"), QString()};
        QCOMPARE(unnamedFields(TextMaterialDialog::createForAdd(fixture.window.get(), text).get()),
                 QStringList());
        QCOMPARE(unnamedFields(InstanceMaterialDialog::createForAdd(fixture.window.get(), instance).get()),
                 QStringList());
        SearchDialog search(fixture.tree(), fixture.list()->searchResults(), fixture.window.get());
        QCOMPARE(unnamedFields(&search), QStringList());
        OptionsDialog options(fixture.window.get());
        QCOMPARE(unnamedFields(&options), QStringList());
        QuickTextDialog quickText(nullptr, fixture.tree(), QStringLiteral("text"));
        QCOMPARE(unnamedFields(&quickText), QStringList());
        QCOMPARE(roleOf(&quickText), QAccessible::Dialog);
        QuickInstanceDialog quickInstance(nullptr, fixture.tree(), QStringLiteral("/bin/ls"));
        QCOMPARE(unnamedFields(&quickInstance), QStringList());
        QCOMPARE(roleOf(&quickInstance), QAccessible::Dialog);
        MaterialViewer viewer(std::make_shared<HighlightDefinitions>(), QString(), 0, 16777215);
        QCOMPARE(roleOf(&viewer), QAccessible::Window);
        QCOMPARE(unnamedFields(&viewer), QStringList());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
