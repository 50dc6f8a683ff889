// The settings: read once at creation, written by "&OK" and first thing in the close query.

#include "app/main_form.h"

#include "app/system_info.h"
#include "formats/imageio/lzw_install.h"
#include "platform/controls/radio_group.h"
#include "platform/dialogs/dialogs.h"
#include "platform/registry/registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QStandardPaths>
#include <QTabWidget>

#include <array>
#include <optional>
#include <string_view>

namespace {
const QString SettingsKey = QStringLiteral("\\Software\\Numerak!");
constexpr int DocumentsFolderId = 5;

// The default format's stored text and the save dialog's file type for it.
struct TDefaultFormat {
    const char* Text;
    int FilterIndex;
};
constexpr std::array<TDefaultFormat, 5> DefaultFormats{{{"tif", 2}, {"bmp", 5}, {"jpeg", 1}, {"png", 4}, {"gif", 12}}};

std::optional<int> DecimalInteger(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString Flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

void SetIndexInRange(QComboBox* box, int index)
{
    if (index >= 0 && index < box->count()) box->setCurrentIndex(index);
}

// One stored value: how it is written and how it is read back. A value that is missing or
// empty is read only when ReadEmpty is set; a number that does not parse is ignored.
struct TSetting {
    const char* Name;
    bool ReadEmpty;
    QString (*Write)(const TForm1&);
    void (*Read)(TForm1&, const QString&);
};

// Window sizes are the client's and positions the frame's, so that a restart with another
// frame keeps the window exactly where and as large as it was.
const std::array<TSetting, 14> Settings{{
    {"Répertoire", false, [](const TForm1& f) { return f.Label7->text(); },
     [](TForm1& f, const QString& v) { f.Label7->setText(v); }},
    {"Scanner activé", true, [](const TForm1& f) { return Flag(f.activation->isChecked()); },
     [](TForm1& f, const QString& v) { f.activation->setChecked(v != QLatin1String("0")); }},
    {"Largeur", true, [](const TForm1& f) { return QString::number(f.width()); },
     [](TForm1& f, const QString& v) { if (auto n = DecimalInteger(v)) f.resize(*n, f.height()); }},
    {"Hauteur", true, [](const TForm1& f) { return QString::number(f.height()); },
     [](TForm1& f, const QString& v) { if (auto n = DecimalInteger(v)) f.resize(f.width(), *n); }},
    {"Position horizontale", true, [](const TForm1& f) { return QString::number(f.x()); },
     [](TForm1& f, const QString& v) { if (auto n = DecimalInteger(v)) f.move(*n, f.y()); }},
    {"Position verticale", true, [](const TForm1& f) { return QString::number(f.y()); },
     [](TForm1& f, const QString& v) { if (auto n = DecimalInteger(v)) f.move(f.x(), *n); }},
    {"Format par défaut", true,
     [](const TForm1& f) {
         const int index = f.formats->ItemIndex();
         return index < 0 ? QString() : QString::fromLatin1(DefaultFormats[static_cast<std::size_t>(index)].Text);
     },
     [](TForm1& f, const QString& v) {
         f.formats->SetItemIndex(-1);
         for (std::size_t i = 0; i < DefaultFormats.size(); ++i) {
             if (v != QLatin1String(DefaultFormats[i].Text)) continue;
             f.formats->SetItemIndex(static_cast<int>(i));
             f.SaveImageDialog1.FilterIndex = DefaultFormats[i].FilterIndex;
         }
     }},
    {"Langue", false, [](const TForm1& f) { return QString::number(f.langage->ItemIndex()); },
     [](TForm1& f, const QString& v) {
         if (auto n = DecimalInteger(v); n && *n >= 0 && *n < f.langage->Count()) f.langage->SetItemIndex(*n);
     }},
    {"Résolution", false, [](const TForm1& f) { return QString::number(f.ComboBox3->currentIndex()); },
     [](TForm1& f, const QString& v) { if (auto n = DecimalInteger(v)) SetIndexInRange(f.ComboBox3, *n); }},
    {"Couleurs", false, [](const TForm1& f) { return QString::number(f.ComboBox2->currentIndex()); },
     [](TForm1& f, const QString& v) { if (auto n = DecimalInteger(v)) SetIndexInRange(f.ComboBox2, *n); }},
    {"Themes", false, [](const TForm1& f) { return QString::number(f.themes->currentIndex()); },
     [](TForm1& f, const QString& v) { if (auto n = DecimalInteger(v)) SetIndexInRange(f.themes, *n); }},
    {"Effets des menus", false, [](const TForm1& f) { return QString::number(f.Effetmenu->ItemIndex()); },
     [](TForm1& f, const QString& v) {
         if (auto n = DecimalInteger(v); n && *n >= 0 && *n < f.Effetmenu->Count()) f.Effetmenu->SetItemIndex(*n);
     }},
    {"Transparence", false, [](const TForm1& f) { return QString::number(f.transparence->value()); },
     [](TForm1& f, const QString& v) { if (auto n = DecimalInteger(v)) f.transparence->setValue(*n); }},
    {"Pdf", false, [](const TForm1& f) { return Flag(f.acrobate->isChecked()); },
     [](TForm1& f, const QString& v) { f.acrobate->setChecked(v != QLatin1String("0")); }},
}};

bool IsThemes(const TSetting& setting)
{
    return std::string_view(setting.Name) == "Themes";
}
}  // namespace

void TForm1::FormCreate()
{
    IEInstallProgramLzwRoutines();
    move(0, 0);
    ReadComputerProperties();
    Label7->setText(DefaultSaveFolder(OSLabel->text(), GetSpecialFolderPath(DocumentsFolderId)));

    {
        TRegistry classes(TRegistryRoot::HKEY_CLASSES_ROOT);
        const std::pair<const char*, QCheckBox*> associations[] = {
            {".tif", Tiff}, {".bmp", Bmp}, {".jpeg", Jpeg}, {".png", Png}};
        for (const auto& [extension, box] : associations) {
            classes.CloseKey();
            if (!classes.OpenKey(QLatin1Char('\\') + QLatin1String(extension), /*canCreate=*/false)) continue;
            try {
                if (classes.ReadString(QString()) == QLatin1String("Numerak!")) box->setChecked(true);
            } catch (const ERegistryException&) {
            }
        }
    }

    ReadSettings();
    OpenImageDialog1.InitialDir = Label7->text();
    SaveImageDialog1.InitialDir = Label7->text();
    Francaisanglais();
    PageControl1->setCurrentIndex(0);
    ApplyMenuAppearance();
    PointFolderTreesAt(Label7->text());
}

void TForm1::ReadSettings()
{
    TRegistry registry;
    if (!registry.OpenKey(QStringLiteral("\\Software"), /*canCreate=*/false) ||
        !registry.OpenKey(QStringLiteral("Numerak!"), /*canCreate=*/false)) {
        // First start: the frame still gets its close button, as with no theme.
        ApplyThemeFrame();
        return;
    }
    for (const TSetting& setting : Settings) {
        QString value;
        try {
            value = registry.ReadString(QString::fromUtf8(setting.Name));
        } catch (const ERegistryException&) {
            continue;  // a value of another type keeps the design value
        }
        if (!value.isEmpty() || setting.ReadEmpty) setting.Read(*this, value);
        if (IsThemes(setting)) ApplyThemeFrame();
    }
    registry.CloseKey();
    KeepOnScreen();
}

void TForm1::KeepOnScreen()
{
    const QRect frame(pos(), frameGeometry().size());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame)) return;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) move(primary->availableGeometry().topLeft());
}

void TForm1::Sauvegarder()
{
    TRegistry registry;
    registry.OpenKey(SettingsKey, /*canCreate=*/true);
    for (const TSetting& setting : Settings) {
        const QString value = setting.Write(*this);
        if (std::string_view(setting.Name) == "Format par défaut" && value.isEmpty()) continue;
        registry.WriteString(QString::fromUtf8(setting.Name), value);
    }
    registry.CloseKey();
}

void TForm1::fermerpanneauClick()
{
    Sauvegarder();
}

void TForm1::ReadComputerProperties()
{
    // No Windows version exists here.
    OSLabel->setText(OperatingSystemName(0, 0, 0));
}

QString TForm1::GetSpecialFolderPath(int folder)
{
    if (folder != DocumentsFolderId) return QString();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void TForm1::SpeedButton8Click()
{
    const QString folder = Dialogs().SelectFolder(QStringLiteral("Répertoire d'enregistrement"));
    if (folder.isEmpty()) return;
    Label7->setText(folder);
    OpenImageDialog1.InitialDir = folder;
    SaveImageDialog1.InitialDir = folder;
    PointFolderTreesAt(folder);
}
