#include "shell/SettingsFile.h"

#include "shell/fIn.h"
#include "text/Cp1251.h"
#include "widgets/MaskEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSaveFile>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>
#include <QToolBar>
#include <QTreeView>

// Raw bytes in and out: the file's code page is handled here with cp1251, not by the library.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <exception>
#include <string>

QString AppDir() {
    return QCoreApplication::applicationDirPath() + u'/';
}

struct TIniFile::TData {
    // Case-insensitive names (CSimpleIniCaseA would be the case-sensitive one), one value per key,
    // no multi-line values, "key=value" without blanks.
    CSimpleIniA ini{false, false, false};
    TData() { ini.SetSpaces(false); }
};

namespace {

QString ReadError(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось прочитать файл \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

QString WriteError(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось записать файл \"%1\": %2").arg(QDir::toNativeSeparators(path), reason);
}

// One line per value: a line break would start a new key in the file.
QString OneLine(QString value) {
    for (QChar& c : value) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    return value;
}

} // namespace

TIniFile::TIniFile() : m_data(std::make_unique<TData>()) {}

TIniFile::~TIniFile() = default;

QString TIniFile::Open(const QString& path, TIniOpen mode) {
    m_path = path;
    m_data = std::make_unique<TData>();
    if (mode == TIniOpen::MissingIsEmpty && !QFileInfo::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadError(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadError(path, file.errorString());
    if (m_data->ini.LoadData(bytes.constData(), size_t(bytes.size())) < 0) {
        m_data = std::make_unique<TData>();
        return ReadError(path, QStringLiteral("недостаточно памяти"));
    }
    return {};
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    const char* value =
        m_data->ini.GetValue(ToCp1251(section).constData(), ToCp1251(key).constData(), nullptr);
    return value ? FromCp1251(QByteArrayView(value)) : defaultValue;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    const char* value =
        m_data->ini.GetValue(ToCp1251(section).constData(), ToCp1251(key).constData(), nullptr);
    if (!value)
        return defaultValue;
    bool ok = false;
    const int number = QByteArray(value).trimmed().toInt(&ok, 10);
    return ok ? number : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    m_data->ini.SetValue(ToCp1251(section).constData(), ToCp1251(key).constData(),
                         ToCp1251(OneLine(value)).constData());
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return m_data->ini.KeyExists(ToCp1251(section).constData(), ToCp1251(key).constData());
}

bool TIniFile::SectionExists(const QString& section) const {
    return m_data->ini.SectionExists(ToCp1251(section).constData());
}

QStringList TIniFile::Sections() const {
    CSimpleIniA::TNamesDepend names;
    m_data->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto& entry : names)
        result.append(FromCp1251(QByteArrayView(entry.pItem)));
    return result;
}

QStringList TIniFile::Keys(const QString& section) const {
    CSimpleIniA::TNamesDepend names;
    m_data->ini.GetAllKeys(ToCp1251(section).constData(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto& entry : names)
        result.append(FromCp1251(QByteArrayView(entry.pItem)));
    return result;
}

QString WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    // Unbuffered: Qt 6.4's commit() ignores a failure of the final buffer flush and renames a
    // truncated file into place. Written directly, a short write shows here and the next call
    // reports the system's reason (file too large, disk full).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteError(path, file.errorString());
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return WriteError(path, reason);
        }
        done += written;
    }
    if (!file.commit())
        return WriteError(path, file.errorString());
    return {};
}

QString TIniFile::Save() const {
    if (m_path.isEmpty())
        return WriteError(m_path, QStringLiteral("файл не задан"));
    std::string text;
    if (m_data->ini.Save(text, false) < 0)
        return WriteError(m_path, QStringLiteral("недостаточно памяти"));
    // Windows line ends, one blank line between sections, as the panel's other INI files have.
    QByteArray bytes = QByteArray::fromStdString(text);
    bytes.replace("\r\n", "\n");
    while (bytes.contains("\n\n\n"))
        bytes.replace("\n\n\n", "\n\n");
    bytes.replace("\n", "\r\n");
    return WriteFileAtomically(m_path, bytes);
}

// ---------------------------------------------------------------------------------------------------
// The generic store rule.

void SaveControls(const TPageForm& page, TIniFile& ini) {
    const QString section = page.PageName();
    for (QWidget* control : page.Controls()) {
        const QString key = control->objectName();
        if (auto* mask = qobject_cast<TMaskEdit*>(control))
            ini.WriteString(section, key, mask->EditText());
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            ini.WriteString(section, key, edit->text());
        else if (auto* spin = qobject_cast<QSpinBox*>(control))
            ini.WriteString(section, key, spin->text());
        else if (auto* check = qobject_cast<QCheckBox*>(control))
            ini.WriteBool(section, key, check->isChecked());
        else if (auto* radio = qobject_cast<QRadioButton*>(control))
            ini.WriteBool(section, key, radio->isChecked());
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            ini.WriteInteger(section, key, combo->currentIndex());
    }
}

void LoadControls(TPageForm& page, TIniFile& ini) {
    const QString section = page.PageName();
    for (QWidget* control : page.Controls()) {
        const QString key = control->objectName();
        const bool present = ini.ValueExists(section, key);
        if (auto* mask = qobject_cast<TMaskEdit*>(control)) {
            if (present)
                mask->SetEditText(ini.ReadString(section, key));
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(present ? ini.ReadString(section, key) : control->toolTip());
        } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
            const QString value = ini.ReadString(section, key);
            if (!value.isEmpty()) {
                // The spin box's own editor takes the text as typed; interpretText makes it the value.
                if (auto* editor = spin->findChild<QLineEdit*>()) {
                    editor->setText(value);
                    spin->interpretText();
                }
            }
        } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
            check->setChecked(ini.ReadBool(section, key, false));
        } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
            const bool byHint = HintAsBool(control->toolTip()).value_or(false);
            SetRadioSelected(radio, ini.ReadBool(section, key, byHint));
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            const int index = ini.ReadInteger(section, key, 0);
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// windows.ini

namespace {

enum class TSizeKind { None, WidthOnly, WidthAndHeight };

TSizeKind SizeKindOf(const QWidget* child) {
    const QVariant stores = child->property("storesGeometry");
    if (stores.isValid() && !stores.toBool())
        return TSizeKind::None;
    if (qobject_cast<const QToolBar*>(child))
        return TSizeKind::WidthOnly;
    if (child->property("plainPanel").toBool() || qobject_cast<const QTreeView*>(child) ||
        qobject_cast<const QTableView*>(child))
        return TSizeKind::WidthAndHeight;
    return TSizeKind::None;
}

// The window's own controls in creation order: other windows and settings pages are not entered.
void CollectSizedChildren(const QWidget* parent, QList<QWidget*>& found) {
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow() || child->property("settingsPage").toBool())
            continue;
        const QString name = child->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && SizeKindOf(child) != TSizeKind::None)
            found.append(child);
        CollectSizedChildren(child, found);
    }
}

const QString kLeft = QStringLiteral("xForm.Left");
const QString kTop = QStringLiteral("xForm.Top");
const QString kHeight = QStringLiteral("xForm.Height");
const QString kWidth = QStringLiteral("xForm.Width");
const QString kState = QStringLiteral("xForm.WindowState");

} // namespace

QString SaveWindowGeometry(QWidget& window, const QString& path) {
    TIniFile ini;
    if (QString error = ini.Open(path); !error.isEmpty())
        return error;
    const QString section = window.objectName();
    const bool maximized = window.windowState() & Qt::WindowMaximized;
    // A maximised window keeps the size it returns to, not the size of the screen.
    QRect rect = maximized ? window.normalGeometry() : window.geometry();
    if (!rect.isValid())
        rect = window.geometry();
    ini.WriteInteger(section, kLeft, rect.x());
    ini.WriteInteger(section, kTop, rect.y());
    ini.WriteInteger(section, kHeight, rect.height());
    ini.WriteInteger(section, kWidth, rect.width());
    ini.WriteBool(section, kState, maximized);
    QList<QWidget*> children;
    CollectSizedChildren(&window, children);
    for (QWidget* child : children) {
        const QString name = child->objectName();
        ini.WriteInteger(section, name + QStringLiteral(".Width"), child->width());
        if (SizeKindOf(child) == TSizeKind::WidthAndHeight)
            ini.WriteInteger(section, name + QStringLiteral(".Height"), child->height());
    }
    return ini.Save();
}

QString RestoreWindowGeometry(QWidget& window, const QString& path) {
    TIniFile ini;
    if (QString error = ini.Open(path); !error.isEmpty())
        return error;
    const QString section = window.objectName();
    // Size first, so a window without a stored left edge is centred at the size it will have.
    const int width = ini.ReadInteger(section, kWidth, window.width());
    const int height = ini.ReadInteger(section, kHeight, window.height());
    int left = window.x();
    int top = window.y();
    if (ini.ValueExists(section, kLeft)) {
        left = ini.ReadInteger(section, kLeft, 0);
    } else {
        const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        left = area.x() + (area.width() - width) / 2;
        top = area.y() + (area.height() - height) / 2;
    }
    if (ini.ValueExists(section, kTop))
        top = ini.ReadInteger(section, kTop, 0);
    window.setGeometry(left, top, width, height);
    const bool maximized = ini.ReadBool(section, kState, false);
    window.setWindowState(maximized ? window.windowState() | Qt::WindowMaximized
                                    : window.windowState() & ~Qt::WindowMaximized);

    QList<QWidget*> children;
    CollectSizedChildren(&window, children);
    for (QWidget* child : children) {
        const QString name = child->objectName();
        const int childWidth = ini.ReadInteger(section, name + QStringLiteral(".Width"), child->width());
        int childHeight = child->height();
        if (SizeKindOf(child) == TSizeKind::WidthAndHeight)
            childHeight = ini.ReadInteger(section, name + QStringLiteral(".Height"), childHeight);
        child->resize(childWidth, childHeight);
    }
    return {};
}

// ---------------------------------------------------------------------------------------------------
// All settings

namespace {

const QString kConnect = QStringLiteral("Connect");
const QString kDebug = QStringLiteral("Debug");

void SaveFieldText(QLineEdit* field, TIniFile& ini) {
    auto* mask = qobject_cast<TMaskEdit*>(field);
    ini.WriteString(kConnect, QStringLiteral("MasterKey"), mask ? mask->EditText() : field->text());
}

void LoadFieldText(QLineEdit* field, const QString& value) {
    if (auto* mask = qobject_cast<TMaskEdit*>(field))
        mask->SetEditText(value);
    else
        field->setText(value);
}

void LoadDebugEntry(QAction* entry, const TIniFile& ini, const QString& key) {
    if (entry && ini.ReadBool(kDebug, key, false) && !entry->isChecked())
        entry->trigger();
}

void SavePage(TformIncl* page, TIniFile& ini) {
    if (page)
        page->SaveToIni(ini);
}

void LoadPage(TformIncl* page, TIniFile& ini) {
    if (page)
        page->LoadFromIni(ini);
}

void RunHook(const std::function<void(TIniFile&)>& hook, TIniFile& ini) {
    if (hook)
        hook(ini);
}

} // namespace

void SaveAllSettings(TIniFile& ini, const TSettingsTargets& targets) {
    if (targets.comPort)
        ini.WriteString(kConnect, QStringLiteral("ComPort"), targets.comPort->currentText());
    if (targets.masterKey)
        SaveFieldText(targets.masterKey, ini);
    if (targets.debugMemo)
        ini.WriteBool(kDebug, QStringLiteral("Memo"), targets.debugMemo->isChecked());
    if (targets.debugLog)
        ini.WriteBool(kDebug, QStringLiteral("Log"), targets.debugLog->isChecked());
    SavePage(targets.formCommon, ini);
    SavePage(targets.formLAN, ini);
    SavePage(targets.formKeys, ini);
    RunHook(targets.saveHistory, ini);
    SavePage(targets.formShleif, ini);
    SavePage(targets.formRazd, ini);
    SavePage(targets.formACP, ini);
    RunHook(targets.saveATests, ini);
}

void LoadAllSettings(TIniFile& ini, const TSettingsTargets& targets) {
    if (targets.comPort) {
        const QString port = ini.ReadString(kConnect, QStringLiteral("ComPort"));
        if (!port.isEmpty())
            targets.comPort->setCurrentText(port);
    }
    if (targets.masterKey)
        LoadFieldText(targets.masterKey,
                      ini.ReadString(kConnect, QStringLiteral("MasterKey"), QStringLiteral("6183")));
    LoadDebugEntry(targets.debugMemo, ini, QStringLiteral("Memo"));
    LoadDebugEntry(targets.debugLog, ini, QStringLiteral("Log"));
    LoadPage(targets.formCommon, ini);
    LoadPage(targets.formLAN, ini);
    LoadPage(targets.formKeys, ini);
    RunHook(targets.loadHistory, ini);
    LoadPage(targets.formShleif, ini);
    LoadPage(targets.formRazd, ini);
    // The system events page is read before the ADC page although it is written after it.
    RunHook(targets.loadATests, ini);
    LoadPage(targets.formACP, ini);
}

bool ServiceModeEnabled(const TIniFile& current) {
    return current.ReadString(QStringLiteral("Update"), QStringLiteral("UpdatePanelVersion")) ==
           QLatin1String("qomzer");
}

// ---------------------------------------------------------------------------------------------------
// The "Настройки" commands

QString SaveSettingsFile(const QString& path, const TSettingsTargets& targets) {
    TIniFile ini;
    // An existing file that cannot be read is not overwritten: its other sections would be lost.
    if (QString error = ini.Open(path); !error.isEmpty())
        return error;
    QString pageError;
    try {
        SaveAllSettings(ini, targets);
    } catch (const std::exception& e) {
        pageError = QString::fromLocal8Bit(e.what());
    }
    const QString saveError = ini.Save();
    if (pageError.isEmpty())
        return saveError;
    return saveError.isEmpty() ? pageError : pageError + u'\n' + saveError;
}

QString LoadSettingsFile(const QString& path, const TSettingsTargets& targets) {
    TIniFile ini;
    if (QString error = ini.Open(path, TIniOpen::MustExist); !error.isEmpty())
        return error;
    try {
        LoadAllSettings(ini, targets);
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what()); // the pages keep the values set so far
    }
    return {};
}

namespace {

void ShowError(QWidget* parent, const QString& error) {
    if (!error.isEmpty())
        QMessageBox::critical(parent, QStringLiteral("Ошибка"), error);
}

} // namespace

QStringList FileDialogFilters(QStringView filter) {
    const QList<QStringView> parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].toString();
        const QString patterns = parts[i + 1].toString().replace(u';', u' ');
        // Qt takes the patterns from the parentheses of the description.
        filters << (description.contains(u'(') ? description
                                               : description + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

void SaveSettingsCommand(QWidget* parent, const TSettingsTargets& targets) {
    QFileDialog dialog(parent, QString(), AppDir());
    dialog.setNameFilters(FileDialogFilters(u"Файл настроек(*.ini)|*.ini"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    ShowError(parent, SaveSettingsFile(dialog.selectedFiles().constFirst(), targets));
}

void LoadSettingsCommand(QWidget* parent, const TSettingsTargets& targets) {
    QFileDialog dialog(parent, QString(), AppDir());
    dialog.setNameFilters(FileDialogFilters(u"Файл настроек (*.ini)|*.ini|Все файлы (*.*)|*.*"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    ShowError(parent, LoadSettingsFile(dialog.selectedFiles().constFirst(), targets));
}
