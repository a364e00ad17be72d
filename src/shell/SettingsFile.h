#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class QWidget;
class TPageForm;
class TformIncl;

// The folder of the program file with a trailing separator; the program's own files live there.
QString AppDir();

// Writes a whole file through a temporary file and a rename, so a failed or interrupted write
// leaves the old file as it was. Returns an error text naming the file and the reason, empty on
// success.
QString WriteFileAtomically(const QString& path, const QByteArray& bytes);

enum class TIniOpen {
    MissingIsEmpty, // a file that does not exist yet reads as empty (current.ini, windows.ini, save)
    MustExist,      // a file that does not exist is a reading error (load command)
};

// An INI file held in memory: read once when opened, written back in one piece by Save. Names and
// values are cp1251 on disk; section and key names match without regard to letter case; sections
// and keys keep their order, new ones are appended in the order first written, and everything the
// program does not write survives.
class TIniFile {
  public:
    TIniFile();
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    // Forgets the content and reads path; returns an error text naming the file and the reason,
    // empty on success. After a reading error the content is empty.
    QString Open(const QString& path, TIniOpen mode = TIniOpen::MissingIsEmpty);
    const QString& FileName() const { return m_path; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // A value that does not read as a decimal integer counts as absent.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // Any integer other than 0 is true.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // Line breaks in a value become blanks: a value is one line of the file.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value); // "1" / "0"

    bool ValueExists(const QString& section, const QString& key) const;
    bool SectionExists(const QString& section) const;
    QStringList Sections() const;                   // in file order
    QStringList Keys(const QString& section) const; // in file order

    // Writes the whole file through a temporary file and a rename, so a failed save leaves the old
    // file as it was. Returns an error text naming the file and the reason, empty on success.
    QString Save() const;

  private:
    struct TData;
    std::unique_ptr<TData> m_data;
    QString m_path;
};

// The generic store rule: section = page name, key = control name, value by control kind.
void SaveControls(const TPageForm& page, TIniFile& ini);
// Applies the file to the page as program changes, with each kind's rule for an absent key.
void LoadControls(TPageForm& page, TIniFile& ini);

// windows.ini: section = the window's objectName, keys xForm.Left/Top/Height/Width/WindowState and
// the child keys. Children that store their size: tool bars (name.Width), tree views, table views
// and widgets with the property "plainPanel" set (name.Width, name.Height). A child with the
// property "storesGeometry" set to false is left out; settings pages and their controls are never
// visited. Both return an error text, empty on success.
QString SaveWindowGeometry(QWidget& window, const QString& path);
QString RestoreWindowGeometry(QWidget& window, const QString& path);

// What the settings file reaches in the main window; nothing is owned. Null entries are skipped.
struct TSettingsTargets {
    QComboBox* comPort = nullptr;
    QLineEdit* masterKey = nullptr;
    QAction* debugMemo = nullptr;
    QAction* debugLog = nullptr;
    TformIncl* formCommon = nullptr;
    TformIncl* formLAN = nullptr;
    TformIncl* formKeys = nullptr;
    TformIncl* formShleif = nullptr;
    TformIncl* formRazd = nullptr;
    TformIncl* formACP = nullptr;
    std::function<void(TIniFile&)> saveHistory;
    std::function<void(TIniFile&)> loadHistory;
    std::function<void(TIniFile&)> saveATests;
    std::function<void(TIniFile&)> loadATests;
};

void SaveAllSettings(TIniFile& ini, const TSettingsTargets& targets);
void LoadAllSettings(TIniFile& ini, const TSettingsTargets& targets);

// "Update" / "UpdatePanelVersion" equal to "qomzer", letter case counting.
bool ServiceModeEnabled(const TIniFile& current);

// The work of "Сохранить" and "Загрузить" on a chosen file; each returns an error text, empty on
// success. A save writes the file even when a page's writer fails part-way.
QString SaveSettingsFile(const QString& path, const TSettingsTargets& targets);
QString LoadSettingsFile(const QString& path, const TSettingsTargets& targets);

// A file dialog filter written as "description|patterns|description|patterns" as Qt name filters.
QStringList FileDialogFilters(QStringView filter);

// The menu commands: the file dialog, the work, and an error box on failure. Cancel does nothing.
void SaveSettingsCommand(QWidget* parent, const TSettingsTargets& targets);
void LoadSettingsCommand(QWidget* parent, const TSettingsTargets& targets);
