#include "pages/MsgFileU.h"

#include "text/Cp1251.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Writes `bytes` to a fresh file in a temporary folder and loads it.
class CatalogueFile : public ::testing::Test {
  protected:
    void loadBytes(const QByteArray& bytes) {
        ASSERT_TRUE(m_dir.isValid());
        const QString path = m_dir.filePath(QStringLiteral("Messages.txt"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        ASSERT_TRUE(m_catalogue.load(path)) << m_catalogue.errorString().toStdString();
    }
    // The lines as cp1251, each ended with CR LF.
    void loadLines(const QStringList& lines) { loadBytes(ToCp1251(lines.join(u"\r\n"_s) + u"\r\n"_s)); }

    QTemporaryDir m_dir;
    TMsgFile m_catalogue;
};

std::vector<QStringList> Rows(const TMsgFile& catalogue) {
    std::vector<QStringList> rows;
    for (int r = 0; r < catalogue.count(); ++r) {
        QStringList fields;
        for (int i = 0; i < catalogue.fieldCount(r); ++i)
            fields.append(catalogue.field(r, i));
        rows.push_back(fields);
    }
    return rows;
}

} // namespace

TEST_F(CatalogueFile, SplitsLinesIntoFieldsAtEveryBar) {
    struct Case {
        const char* name;
        QByteArray bytes; // cp1251 file content
        std::vector<QStringList> rows;
    };
    const QByteArray tail = ToCp1251(u"Тревога по зоне");
    const std::vector<Case> cases = {
        {"final bar gives an empty last field", "1301|" + tail + "|\r\n", {{"1301", FromCp1251(tail), ""}}},
        {"blanks and extra fields are kept",
         " 1301 | a |$FF|0|x|\r\n",
         {{" 1301 ", " a ", "$FF", "0", "x", ""}}},
        {"lines without a bar leave no row, last line too",
         "header\r\n1001|a\r\n\r\n1011|b|1|2\r\ntrailer",
         {{"1001", "a"}, {"1011", "b", "1", "2"}}},
        {"last line without line end still counts", "1001|a\r\n1011|b", {{"1001", "a"}, {"1011", "b"}}},
        {"bare LF ends a line, a CR inside a line stays",
         "1001|a\n1011|b\rc\r\n",
         {{"1001", "a"}, {"1011", "b\rc"}}},
        {"only a bar", "|\r\n", {{"", ""}}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        loadBytes(c.bytes);
        EXPECT_EQ(Rows(m_catalogue), c.rows);
    }
}

TEST_F(CatalogueFile, FieldOutsideTheCatalogueIsEmpty) {
    loadLines({u"1301|Тревога по зоне"_s});
    EXPECT_EQ(m_catalogue.field(0, 1), u"Тревога по зоне"_s);
    EXPECT_TRUE(m_catalogue.field(0, 2).isEmpty());
    EXPECT_TRUE(m_catalogue.field(1, 0).isEmpty());
    EXPECT_TRUE(m_catalogue.field(-1, 0).isEmpty());
    EXPECT_TRUE(m_catalogue.field(0, -1).isEmpty());
}

TEST_F(CatalogueFile, RestoreRowsStayOutOfTheCodeLists) {
    loadLines({
        u"1001|Медицинская тревога|$008080FF|0"_s,
        u"1003|ВОССТ. Медицинская тревога|$0080FF80|0"_s,
        u"no bar here"_s,
        u"1201|Тревожная кнопка"_s,
        u"1301|Тревога по зоне|$008080FF|$00000000"_s,
        u"1303|Тревога по зоне ВОССТ|$0080FF80|$00000000"_s,
        u"1373|ВОССТ. Вскрытие корпуса"_s,
        u"1401|"_s, // no text: listed and counted, never found
        u"1381|восст. lower case is no restore"_s,
    });
    EXPECT_EQ(
        m_catalogue.CodeListItems(),
        QStringList({u"100: Медицинская тревога"_s, u"120: Тревожная кнопка"_s, u"130: Тревога по зоне"_s,
                     u"140: "_s, u"138: восст. lower case is no restore"_s}));

    struct Case {
        QString key;
        int index;
    };
    const Case cases[] = {
        {"1001", 0}, // the first event row
        {"1201", 1}, // restore rows and lines without a bar do not count
        {"1301", 2}, // the first row of its key
        {"1381", 4}, // the row without text before it counts
        {"1373", 0}, // only a restore row
        {"1401", 0}, // row without text
        {"9991", 0}, // absent
        {"130", 2},  // the key field only has to hold the key
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_catalogue.IndexOfCode(c.key), c.index) << c.key.toStdString();

    EXPECT_EQ(m_catalogue.TextOfCode("1303"), u"Тревога по зоне ВОССТ"_s);
    EXPECT_EQ(m_catalogue.TextOfCode("1301"), u"Тревога по зоне"_s);
    EXPECT_EQ(m_catalogue.TextOfCode("1401"), " ");
    EXPECT_EQ(m_catalogue.TextOfCode("9991"), " ");
    EXPECT_EQ(m_catalogue.TextOfCode("130"), " "); // the text needs the exact key
}

TEST_F(CatalogueFile, TextOfCodeSkipsRowsWithoutText) {
    loadLines({"6021|", "6021|Periodic test", "6021|second"});
    EXPECT_EQ(m_catalogue.TextOfCode("6021"), "Periodic test");
}

TEST_F(CatalogueFile, ColoursOfCodeTakesFirstRowCarryingEachField) {
    loadLines({
        "1101|fire|$000080FF|$00FFFFFF",
        "1301|burglary|",                 // third field empty: both defaults
        "3011|ac loss|65535",             // no text colour field
        "3013|restore|abc|12",            // background not a number
        "3801|trouble||255",              // empty background: next row decides
        "3801|trouble again|$0080FFFF|1", // gives the background only
        "3051|reset|12x|$00FFFFFF",       // first non-empty field decides, even when bad
        "3051|reset|42|42",
        "6021|test| 16|-1",                 // blanks make a field no number
        "4021|disarm|$FF000005|2147483648", // hex wraps; decimal out of range is no number
    });
    struct Case {
        QString key;
        TMsgColours colours;
    };
    const Case cases[] = {
        {"1101", {0x000080FF, 0x00FFFFFF}}, {"1301", {16777215, 0}},     {"3011", {65535, 0}},
        {"3013", {16777215, 12}},           {"3801", {0x0080FFFF, 255}}, {"3051", {16777215, 0x00FFFFFF}},
        {"6021", {16777215, -1}},           {"4021", {-16777211, 0}},    {"9999", {16777215, 0}},
    };
    for (const Case& c : cases) {
        const TMsgColours got = m_catalogue.ColoursOfCode(c.key);
        EXPECT_EQ(got.m_background, c.colours.m_background) << c.key.toStdString();
        EXPECT_EQ(got.m_text, c.colours.m_text) << c.key.toStdString();
    }
}

TEST(ColourValue, DecimalOrDollarHex) {
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"16777215", 16777215},
        {"+5", 5},
        {"-16777201", -16777201},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"$0080ff80", 0x0080FF80},
        {"$FFFFFFFF", -1},
        {"$F", 15},
        {"2147483648", std::nullopt},
        {"$", std::nullopt},
        {"$123456789", std::nullopt},
        {"$12G", std::nullopt},
        {"0x10", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
        {"٣", std::nullopt}, // a non-Latin digit
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseColourValue(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(ColourValue, WindowsValueHasRedInTheLowByte) {
    EXPECT_EQ(WindowsColourToQColor(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(WindowsColourToQColor(0x00FF0000), QColor(0, 0, 255));
    EXPECT_EQ(WindowsColourToQColor(0x0080A0C0), QColor(0xC0, 0xA0, 0x80));
    EXPECT_EQ(WindowsColourToQColor(16777215), QColor(Qt::white));
    EXPECT_EQ(WindowsColourToQColor(-16777211), QColor(5, 0, 0)); // high byte ignored
}

TEST_F(CatalogueFile, FailedLoadReportsTheReasonAndEmptiesTheCatalogue) {
    loadLines({"1301|a"});
    ASSERT_EQ(m_catalogue.count(), 1);

    EXPECT_FALSE(m_catalogue.load(m_dir.filePath(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(m_catalogue.errorString().isEmpty());
    EXPECT_EQ(m_catalogue.count(), 0);
    EXPECT_EQ(m_catalogue.TextOfCode("1301"), " ");
    EXPECT_TRUE(m_catalogue.CodeListItems().isEmpty());

    EXPECT_FALSE(m_catalogue.load(m_dir.path())); // a folder is no catalogue
    EXPECT_FALSE(m_catalogue.errorString().isEmpty());

    loadLines({"1301|a"});
    EXPECT_TRUE(m_catalogue.errorString().isEmpty());
}

TEST_F(CatalogueFile, ReloadReplacesRows) {
    loadLines({"1001|a", "1011|b"});
    loadLines({"1201|c"});
    EXPECT_EQ(m_catalogue.count(), 1);
    EXPECT_EQ(m_catalogue.TextOfCode("1001"), " ");
}

// The catalogue shipped with the program.
TEST(SuppliedCatalogue, HoldsTheRowsTheProgramReliesOn) {
    const QString path = QStringLiteral(ORVEL_DATA_DIR "/Messages.txt");
    TMsgFile catalogue;
    ASSERT_TRUE(catalogue.load(path)) << catalogue.errorString().toStdString();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // cp1251 with CR LF everywhere: every LF follows a CR, no CR stands alone, and nothing is lost
    // converting back (an unmappable byte would come back as '?').
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\r'));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(ToCp1251(FromCp1251(bytes)), bytes);
    EXPECT_EQ(catalogue.count(), bytes.count('\n')); // every line is a row

    EXPECT_EQ(catalogue.TextOfCode("1181"), u"Возможность пожара"_s);
    EXPECT_EQ(catalogue.TextOfCode("1101"), u"Пожарная тревога"_s);
    EXPECT_EQ(catalogue.TextOfCode("3801"), u"Неисправность датчика зоны"_s);
    EXPECT_EQ(catalogue.TextOfCode("1301"), u"Тревога по зоне"_s);

    // The zones page selects item 16 by default and looks fire codes up by their item text.
    QStringList items = catalogue.CodeListItems();
    ASSERT_GT(items.size(), 16);
    EXPECT_EQ(items[16], u"130: Тревога по зоне"_s);
    EXPECT_EQ(catalogue.IndexOfCode("1301"), 16);
    EXPECT_EQ(items[catalogue.IndexOfCode("3801")], u"380: Неисправность датчика зоны"_s);
    EXPECT_TRUE(items.contains(u"118: Возможность пожара"_s));
    EXPECT_TRUE(items.contains(u"110: Пожарная тревога"_s));
    EXPECT_EQ(items.removeDuplicates(), 0);

    // The panel's system text slots 00 to 0C.
    const char* const fixedKeys[] = {"1201", "1001", "1101", "1391", "3013", "3011", "6021",
                                     "3051", "3091", "1393", "4023", "4021", "1211"};
    for (const char* key : fixedKeys)
        EXPECT_NE(catalogue.TextOfCode(key), " ") << key;

    const QRegularExpression keyForm(QStringLiteral("^[0-9]{3}[13]$"));
    QSet<QString> keys;
    for (int row = 0; row < catalogue.count(); ++row) {
        const QString key = catalogue.field(row, TMsgFile::kKeyField);
        const QString text = catalogue.field(row, TMsgFile::kTextField);
        SCOPED_TRACE(key.toStdString());
        EXPECT_TRUE(keyForm.match(key).hasMatch());
        EXPECT_FALSE(keys.contains(key));
        keys.insert(key);
        EXPECT_FALSE(text.trimmed().isEmpty());
        // The qualifier digit and the restore word agree, so lists and history colours agree.
        EXPECT_EQ(IsRestoreText(text), key.endsWith(u'3'));
        if (key.endsWith(u'3')) {
            EXPECT_TRUE(keys.contains(key.chopped(1) + u'1')) << "restore without its event row before it";
        }
        EXPECT_TRUE(ParseColourValue(catalogue.field(row, TMsgFile::kBackgroundField)).has_value());
        EXPECT_TRUE(ParseColourValue(catalogue.field(row, TMsgFile::kTextColourField)).has_value());
    }

    // Colour classes: restores green, a fire alarm orange or red, a burglary alarm red-ish.
    const QColor restore = WindowsColourToQColor(catalogue.ColoursOfCode("1303").m_background);
    EXPECT_GT(restore.green(), restore.red());
    const QColor fire = WindowsColourToQColor(catalogue.ColoursOfCode("1101").m_background);
    EXPECT_EQ(fire.red(), 255);
    EXPECT_LT(fire.blue(), 128);
    const QColor alarm = WindowsColourToQColor(catalogue.ColoursOfCode("1301").m_background);
    EXPECT_GT(alarm.red(), alarm.green());
}
