// Random bytes as the tree file and as the settings file never crash the readers, and any tree
// the loader produced saves and loads back unchanged.
#include "base/AnsiText.h"
#include "settings/SettingsFile.h"
#include "tree/TreeFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int Samples = 3000;

// Bytes drawn mostly from what these files are made of: marks, line ends, digits, ASCII and
// GBK lead and trail bytes, with any byte now and then.
QByteArray randomBytes(QRandomGenerator &random)
{
    static const QByteArray alphabet =
        QByteArrayLiteral("++++\r\n\r\n\n\r0123456789 =-abcAB[]\x1a\xb0\xa1\xc4\xe3\xfe\x81\x40\x30");
    QByteArray bytes;
    const int size = random.bounded(0, 400);
    for (int i = 0; i < size; ++i) {
        bytes.append(random.bounded(8) == 0 ? static_cast<char>(random.bounded(256))
                                            : alphabet.at(random.bounded(static_cast<int>(alphabet.size()))));
    }
    return bytes;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}
} // namespace

class TestFuzzFiles : public QObject
{
    Q_OBJECT
private slots:
    void treeFiles()
    {
        QRandomGenerator random(1208);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MTS.qb"));
        int loaded = 0;
        for (int i = 0; i < Samples; ++i) {
            const QByteArray bytes = randomBytes(random);
            const QVector<TreeNode> tree = TreeFile::parse(AnsiText::splitLines(AnsiText::decode(bytes)));
            if (tree.isEmpty())
                continue;
            ++loaded;
            // Saved and loaded back, it is the same tree.
            const QByteArray saved = AnsiText::encode(AnsiText::joinLines(TreeFile::format(tree)));
            QCOMPARE(TreeFile::parse(AnsiText::splitLines(AnsiText::decode(saved))), tree);
            // Now and then the whole way through the file (writing it is slow: it is synced).
            if (i % 50 != 0)
                continue;
            write(path, bytes);
            TreeFile file(path);
            QCOMPARE(file.load(), tree);
            QVERIFY(file.save(tree));
            QCOMPARE(TreeFile(path).load(), tree);
        }
        QVERIFY(loaded > Samples / 10);
    }

    void settingsFiles()
    {
        QRandomGenerator random(2612);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QB.ini"));
        const QStringList keys{QStringLiteral("[Quillbarrow ini file]"),
                               QStringLiteral("ICON="),
                               QStringLiteral("ORDER="),
                               QStringLiteral("VIEWSTYLE="),
                               QStringLiteral("VIEWSTYLEDE="),
                               QStringLiteral("VFRMBC="),
                               QStringLiteral("Font="),
                               QStringLiteral("     "),
                               QStringLiteral("     "),
                               QStringLiteral("     "),
                               QStringLiteral("     "),
                               QStringLiteral("     "),
                               QStringLiteral("     "),
                               QStringLiteral("TrayWay=")};
        for (int i = 0; i < Samples; ++i) {
            QByteArray bytes;
            if (i % 2) {
                bytes = randomBytes(random);
            } else {
                // The right keys with random values: the readers meet every value position.
                for (const QString &key : keys)
                    bytes += AnsiText::encode(key) + randomBytes(random).left(random.bounded(0, 12)) + "\r\n";
            }
            write(path, bytes);
            const StartupSettings startup = SettingsFile::readStartup(path);
            QVERIFY(startup.iconStyle >= 0 && startup.iconStyle <= 2);
            QVERIFY(startup.listOrder >= 0 && startup.listOrder <= 2);
            QVERIFY(startup.browseInNewWindow == 0 || startup.browseInNewWindow == 1);
            QVERIFY(startup.windowPerMaterial == 0 || startup.windowPerMaterial == 1);
            QVERIFY(startup.trayMode >= 0 && startup.trayMode <= 3);
            ViewerFontValues font;
            QString error;
            SettingsFile::readFont(path, &font, &error);
            SettingsValues values;
            if (SettingsFile::readAll(path, &values, &error) && i % 20 == 0) {
                // What was read writes back as a complete file that reads the same.
                QVERIFY(SettingsFile::write(path, values, &error));
                SettingsValues again;
                QVERIFY(SettingsFile::readAll(path, &again, &error));
                QCOMPARE(SettingsFile::lines(again), SettingsFile::lines(values));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFuzzFiles)
#include "tst_fuzz_files.moc"
