#include "tests/harness/gui_test.h"

#include "app/system_info.h"
#include "platform/controls/radio_group.h"
#include "platform/registry/registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QStandardPaths>

namespace {
void WriteSettings(const std::vector<std::pair<QString, QString>>& values)
{
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QStringLiteral("\\Software\\Numerak!"), true));
    for (const auto& [name, value] : values) registry.WriteString(name, value);
    registry.CloseKey();
}

QString Stored(const QString& name)
{
    TRegistry registry;
    if (!registry.OpenKey(QStringLiteral("\\Software\\Numerak!"), false)) return QStringLiteral("<no key>");
    return registry.ReadString(name);
}
}  // namespace

class SettingsTest : public TGuiTest {};

TEST_F(SettingsTest, SettingsSurviveARestart)
{
    {
        auto form = CreateForm();
        form->Label7->setText(QStringLiteral("/srv/scans/été"));
        form->activation->setChecked(false);
        form->resize(900, 700);
        form->move(30, 40);
        form->formats->SetItemIndex(3);
        form->langage->SetItemIndex(1);
        form->ComboBox3->setCurrentIndex(3);
        form->Effetmenu->SetItemIndex(2);
        form->transparence->setValue(120);
        form->acrobate->setChecked(false);
        Call(*form, &TForm1::fermerpanneauClick);
    }
    // "&OK" wrote everything at once, in text.
    EXPECT_EQ(Stored(QStringLiteral("Format par défaut")), QStringLiteral("png"));
    EXPECT_EQ(Stored(QStringLiteral("Scanner activé")), QStringLiteral("0"));
    EXPECT_EQ(Stored(QStringLiteral("Résolution")), QStringLiteral("3"));
    EXPECT_EQ(Stored(QStringLiteral("Couleurs")), QStringLiteral("-1"));

    auto form = CreateForm();
    EXPECT_EQ(form->Label7->text(), QStringLiteral("/srv/scans/été"));
    EXPECT_EQ(form->OpenImageDialog1.InitialDir, QStringLiteral("/srv/scans/été"));
    EXPECT_EQ(form->SaveImageDialog1.InitialDir, QStringLiteral("/srv/scans/été"));
    EXPECT_FALSE(form->activation->isChecked());
    EXPECT_EQ(form->size(), QSize(900, 700));
    EXPECT_EQ(form->pos(), QPoint(30, 40));
    EXPECT_EQ(form->formats->ItemIndex(), 3);
    EXPECT_EQ(form->SaveImageDialog1.FilterIndex, 4);
    EXPECT_EQ(form->langage->ItemIndex(), 1);
    EXPECT_EQ(form->ComboBox3->currentText(), QStringLiteral("300"));
    EXPECT_EQ(form->Effetmenu->ItemIndex(), 2);
    EXPECT_EQ(form->transparence->value(), 120);
    EXPECT_FALSE(form->acrobate->isChecked());
}

TEST_F(SettingsTest, FirstStartKeepsTheDesignValuesAndStillOffersAClose)
{
    auto form = CreateForm();
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    EXPECT_EQ(form->size(), QSize(748, 580));
    EXPECT_FALSE(form->activation->isChecked());
    EXPECT_EQ(form->Label7->text(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(form->OSLabel->text(), QStringLiteral("Inconnu"));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(Stored(QStringLiteral("Largeur")), QStringLiteral("<no key>"));
}

TEST_F(SettingsTest, AKeyWithoutValuesChecksTheScannerOption)
{
    WriteSettings({});
    auto form = CreateForm();
    EXPECT_TRUE(form->activation->isChecked());
}

TEST_F(SettingsTest, BadGeometryValuesAreIgnoredAndTheRestIsRead)
{
    const struct {
        const char* Name;
        const char* Value;
    } cases[] = {{"Largeur", "large"}, {"Hauteur", "0x200"}, {"Position horizontale", ""},
                 {"Position verticale", "12.5"}};
    for (const auto& c : cases) {
        QDir(RegistryDir()).removeRecursively();
        WriteSettings({{"Largeur", "800"}, {"Hauteur", "650"}, {"Position horizontale", "5"},
                       {"Position verticale", "6"}, {"Langue", "1"}, {"Transparence", "90"}});
        WriteSettings({{QString::fromUtf8(c.Name), QString::fromUtf8(c.Value)}});
        auto form = CreateForm();
        const QRect expected(QString::fromUtf8(c.Name) == "Position horizontale" ? 0 : 5,
                             QString::fromUtf8(c.Name) == "Position verticale" ? 0 : 6,
                             QString::fromUtf8(c.Name) == "Largeur" ? 748 : 800,
                             QString::fromUtf8(c.Name) == "Hauteur" ? 580 : 650);
        EXPECT_EQ(QRect(form->pos(), form->size()), expected) << c.Name;
        EXPECT_EQ(form->langage->ItemIndex(), 1) << c.Name;
        EXPECT_EQ(form->transparence->value(), 90) << c.Name;
    }
}

TEST_F(SettingsTest, ANonTextValueIsIgnored)
{
    WriteSettings({{"Transparence", "90"}});
    {
        TRegistry registry;
        registry.OpenKey(QStringLiteral("\\Software\\Numerak!"), false);
        registry.WriteBinaryData(QStringLiteral("Largeur"), QByteArray("\x01\x02", 2));
        registry.WriteBinaryData(QStringLiteral("Langue"), QByteArray("\x01", 1));
    }
    auto form = CreateForm();
    EXPECT_EQ(form->size(), QSize(748, 580));
    EXPECT_EQ(form->langage->ItemIndex(), 0);
    EXPECT_EQ(form->transparence->value(), 90);
}

TEST_F(SettingsTest, DefaultFormatMatchesOnlyTheFiveTexts)
{
    const struct {
        const char* Stored;
        int Item;
        int FilterIndex;
    } cases[] = {{"tif", 0, 2}, {"bmp", 1, 5}, {"jpeg", 2, 1}, {"png", 3, 4}, {"gif", 4, 12},
                 {"jpg", -1, 5}, {"TIF", -1, 5}, {"", -1, 5}};
    for (const auto& c : cases) {
        WriteSettings({{"Format par défaut", c.Stored}});
        auto form = CreateForm();
        EXPECT_EQ(form->formats->ItemIndex(), c.Item) << c.Stored;
        EXPECT_EQ(form->SaveImageDialog1.FilterIndex, c.FilterIndex) << c.Stored;
    }
    // With nothing selected the value is not written.
    QDir(RegistryDir()).removeRecursively();
    auto form = CreateForm();
    form->Sauvegarder();
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QStringLiteral("\\Software\\Numerak!"), false));
    EXPECT_FALSE(registry.ValueExists(QStringLiteral("Format par défaut")));
    EXPECT_TRUE(registry.ValueExists(QStringLiteral("Pdf")));
}

TEST_F(SettingsTest, AWindowOutsideEveryScreenComesBackToThePrimaryScreen)
{
    WriteSettings({{"Position horizontale", "-40000"}, {"Position verticale", "30000"}});
    auto form = CreateForm();
    EXPECT_EQ(form->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
}

TEST_F(SettingsTest, CloseQueryWritesTheSettingsEvenWhenCancelled)
{
    auto form = CreateForm();
    AddDocument(*form, /*modified=*/true);
    form->transparence->setValue(77);
    Script().Answer(TModalResult::mrCancel);
    EXPECT_FALSE(RequestClose(*form));
    EXPECT_EQ(Stored(QStringLiteral("Transparence")), QStringLiteral("77"));
}

TEST_F(SettingsTest, FolderButtonChangesTheSaveFolderOnlyWhenConfirmed)
{
    auto form = CreateForm();
    const QString before = form->Label7->text();
    Script().ChooseFolder(QString());
    Call(*form, &TForm1::SpeedButton8Click);
    EXPECT_EQ(form->Label7->text(), before);
    Script().ChooseFolder(QStringLiteral("/tmp/scans"));
    Call(*form, &TForm1::SpeedButton8Click);
    EXPECT_EQ(form->Label7->text(), QStringLiteral("/tmp/scans"));
    EXPECT_EQ(form->OpenImageDialog1.InitialDir, QStringLiteral("/tmp/scans"));
    EXPECT_EQ(form->SaveImageDialog1.InitialDir, QStringLiteral("/tmp/scans"));
    EXPECT_EQ(Script().Shown().back().Text, QStringLiteral("Répertoire d'enregistrement"));
    EXPECT_EQ(Stored(QStringLiteral("Répertoire")), QStringLiteral("<no key>"));
}

TEST_F(SettingsTest, AssociationBoxesFollowTheClassesRoot)
{
    {
        TRegistry classes(TRegistryRoot::HKEY_CLASSES_ROOT);
        for (const char* key : {".tif", ".png", ".gif"}) {
            classes.OpenKey(QLatin1Char('\\') + QLatin1String(key), true);
            classes.WriteString(QString(), QStringLiteral("Numerak!"));
        }
        classes.OpenKey(QStringLiteral("\\.bmp"), true);
        classes.WriteString(QString(), QStringLiteral("OtherApp"));
        classes.CloseKey();
    }
    auto form = CreateForm();
    EXPECT_TRUE(form->Tiff->isChecked());
    EXPECT_FALSE(form->Bmp->isChecked());
    EXPECT_FALSE(form->Jpeg->isChecked());
    EXPECT_TRUE(form->Png->isChecked());
    EXPECT_FALSE(form->Gif->isChecked());  // never read
}

TEST(SystemInfoTest, OperatingSystemLabelAndSaveFolder)
{
    const struct {
        int Major, Minor, Platform;
        const char* Name;
    } cases[] = {{3, 51, 2, "Windows NT 3.51"}, {3, 10, 2, "unknown"}, {4, 0, 2, "Windows NT 4.0"},
                 {4, 0, 1, "Windows 95"},       {4, 10, 1, "Windows 98"}, {4, 90, 1, "Windows ME"},
                 {4, 3, 1, "Inconnu"},          {5, 0, 2, "Windows 2000"}, {5, 1, 2, "Windows XP"},
                 {5, 2, 2, "Inconnu"},          {6, 0, 2, "Inconnu"},     {0, 0, 0, "Inconnu"}};
    for (const auto& c : cases)
        EXPECT_EQ(OperatingSystemName(c.Major, c.Minor, c.Platform), QString::fromLatin1(c.Name))
            << c.Major << "." << c.Minor;
    EXPECT_EQ(DefaultSaveFolder(QStringLiteral("Windows XP"), QStringLiteral("/home/u/Documents")),
              QStringLiteral("/home/u/Documents/mes images"));
    EXPECT_EQ(DefaultSaveFolder(QStringLiteral("Windows 2000"), QStringLiteral("/home/u/Documents")),
              QStringLiteral("/home/u/Documents"));
}
