#include "tests/documents/form_fixture.h"

#include "documents/image_file_dialogs.h"
#include "formats/imageio/image_io.h"
#include "platform/controls/radio_group.h"
#include "platform/errors/errors.h"
#include "platform/proc/io_previews_dialog.h"
#include "platform/view/image_view.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProgressBar>
#include <QTabWidget>

namespace {

using TOpenSaveTest = TFormTest;

TEST_F(TOpenSaveTest, OpenShowsCaptionTabNameAndStatus)
{
    const QString path = WorkPath("scan.tif");
    const int made = QProcess::execute("convert", {"-size", "1700x2200", "xc:white", "-units", "PixelsPerInch", "-density", "200",
                                                   "-compress", "lzw", path});
    if (made != 0) GTEST_SKIP() << "ImageMagick's convert is not available";
    Open(path);
    ASSERT_EQ(Form->DocumentCount(), 1);
    EXPECT_EQ(Form->windowTitle(), "Numerak! 3.0 : " + path);
    EXPECT_EQ(TabText(0), "scan.tif");
    const QString status = Form->StatusText();
    EXPECT_TRUE(status.startsWith("TIFF Bitmap (TIF)")) << status.toStdString();
    EXPECT_TRUE(status.endsWith(" / 200 dpi / Longueur: 1700 pixels / Largeur: 2200 pixels")) << status.toStdString();
    EXPECT_EQ(Form->LastImageWidth, 1700);
    EXPECT_EQ(Form->LastImageHeight, 2200);
    EXPECT_EQ(View()->Tag, 0);
    EXPECT_TRUE(View()->AutoFit());
    for (const char* control : {"Copier1", "Enregistrersous1", "fermer", "retour45", "SpeedButton10", "zoom", "Annuler1"})
        EXPECT_TRUE(Enabled(control)) << control;
    EXPECT_FALSE(Enabled("toutfermer"));
    EXPECT_TRUE(Form->PopupMenu1AutoPopup);
}

TEST_F(TOpenSaveTest, OpeningTwiceGivesTwoTabsOfOneName)
{
    const QString path = MakeBmp("page.bmp", 30, 20);
    Form->PageControl1->setCurrentIndex(1);  // the settings page stays in front
    Open(path);
    Open(path);
    EXPECT_EQ(Form->PageControl1->currentIndex(), 1);
    ASSERT_EQ(Form->DocumentCount(), 2);
    EXPECT_EQ(TabText(0), "page.bmp");
    EXPECT_EQ(TabText(1), "page.bmp");
    EXPECT_TRUE(Enabled("toutfermer"));
    EXPECT_TRUE(Enabled("CustomItem1"));
    EXPECT_EQ(Script->Shown().back().Options.Title, "Ouvrir une image");
    EXPECT_TRUE(Script->Shown().back().Options.Filter.startsWith("All graphics ("));
}

TEST_F(TOpenSaveTest, CancelledOpenCreatesNoTab)
{
    Script->ChooseOpen(QString());
    Form->Ouvrir1_oldClick();
    EXPECT_EQ(Form->DocumentCount(), 0);
    EXPECT_EQ(Form->windowTitle(), "Numerak! 3.0");
}

// A load that produces nothing says why and leaves no empty tab; a damaged file keeps what
// was read and says that it is incomplete.
TEST_F(TOpenSaveTest, FailedLoadsAreReported)
{
    Open(MakeBmp("kept.bmp", 8, 8));
    const QString unknown = WorkPath("notes.xyz"), fake = WorkPath("fake.bmp"), truncated = WorkPath("cut.bmp");
    for (const QString& p : {unknown, fake}) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not an image at all");
    }
    {
        QFile whole(MakeBmp("whole.bmp", 200, 200));
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        QFile cut(truncated);
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(whole.read(whole.size() / 2));
    }
    const QString before = Form->StatusText();
    struct TCase {
        QString Path;
        int Tabs;          // documents after the open
        QString Expected;  // in the message
    };
    const TCase cases[] = {
        {unknown, 1, "aucun lecteur"},
        {fake, 1, "Windows Bitmap"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Path.toStdString());
        Script->ChooseOpen(c.Path).Answer(TModalResult::mrOk);
        Form->Ouvrir1_oldClick();
        EXPECT_EQ(Form->DocumentCount(), c.Tabs);
        EXPECT_EQ(Form->StatusText(), before);
        const QString message = Script->ShownTexts().last();
        EXPECT_TRUE(message.contains(c.Path) && message.contains(c.Expected)) << message.toStdString();
    }
    EXPECT_EQ(TabText(0), "kept.bmp");

    // A truncated file: what the reader kept stays in a tab marked incomplete, or, when it
    // kept nothing, no tab stays; either way the message names the file.
    Script->ChooseOpen(truncated).Answer(TModalResult::mrOk);
    Form->Ouvrir1_oldClick();
    const QString message = Script->ShownTexts().last();
    EXPECT_TRUE(message.contains(truncated)) << message.toStdString();
    if (Form->DocumentCount() == 2) {
        EXPECT_TRUE(message.contains("incomplète")) << message.toStdString();
        EXPECT_FALSE(View()->IEBitmap().Empty());
        EXPECT_EQ(TabText(1), "cut.bmp");
        Form->fermerClick();
    } else {
        EXPECT_EQ(Form->DocumentCount(), 1);
    }

    // A file that cannot be opened at all goes to the error box; no empty tab stays.
    Script->ChooseOpen(WorkPath("missing.bmp")).AcceptError();
    Guarded([this] { Form->Ouvrir1_oldClick(); });
    EXPECT_EQ(Form->DocumentCount(), 1);
    EXPECT_EQ(Form->StatusText(), before);
}

struct TSaveCase {
    int Language;
    const char* Question;
};

class TSaveAsTest : public TFormTest, public ::testing::WithParamInterface<TSaveCase> {};

TEST_P(TSaveAsTest, OverwriteQuestionInEachLanguage)
{
    Form->langage->SetItemIndex(GetParam().Language);
    Open(MakeBmp("page.bmp", 12, 10));
    Form->Ngatif1_oldClick();
    const QString target = WorkPath("old.bmp");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    const qint64 oldSize = QFileInfo(target).size();

    Script->ChooseSave(target, 5).Answer(TModalResult::mrNo);
    Form->Enregistrersous1_oldClick();
    EXPECT_EQ(Script->ShownTexts().last(), QString::fromUtf8(GetParam().Question));
    EXPECT_EQ(QFileInfo(target).size(), oldSize);
    EXPECT_EQ(View()->Tag, 1);

    Script->ChooseSave(target, 5).Answer(TModalResult::mrYes);
    Form->Enregistrersous1_oldClick();
    EXPECT_NE(QFileInfo(target).size(), oldSize);
    EXPECT_EQ(View()->Tag, 0);
    EXPECT_EQ(TabText(0), "page.bmp");  // save as renames nothing
    EXPECT_EQ(Script->Shown()[Script->Shown().size() - 2].Options.FileName, "page.bmp");
}

INSTANTIATE_TEST_SUITE_P(Languages, TSaveAsTest,
                         ::testing::Values(TSaveCase{0, "Le fichier existe déjà. Le remplacer?"}, TSaveCase{1, "File exist. Replace?"}));

TEST_F(TOpenSaveTest, SaveDialogTypesAndExtensionRules)
{
    const QStringList types = SaveImageFilter().split(";;");
    ASSERT_EQ(types.size(), 12);
    EXPECT_EQ(types[0], "JPEG Bitmap (JPG) (*.jpg)");
    EXPECT_EQ(types[4], "Windows Bitmap (BMP) (*.bmp)");
    EXPECT_EQ(types[11], "Compuserve Bitmap (GIF) (*.gif)");
    const std::tuple<QString, int, QString> renames[] = {
        {"Image 0", 2, "Image 0.tif"}, {"scan.v2.bmp", 1, "scan.jpg"}, {"photo.jpg", 12, "photo.gif"}};
    for (const auto& [name, type, expected] : renames) EXPECT_EQ(NameForSaveType(name, type), expected);
    EXPECT_EQ(WithSaveTypeExtension("Image 0", 5), "Image 0.bmp");
    EXPECT_EQ(WithSaveTypeExtension("/a.b/Image 0", 5), "/a.b/Image 0.bmp");
    EXPECT_EQ(WithSaveTypeExtension("x.png", 5), "x.png");

    // Confirming a name without extension with the BMP type selected writes a BMP.
    Open(MakeBmp("page.bmp", 5, 5));
    Script->ChooseSave(WorkPath("Image 0"), 5);
    Form->Enregistrersous1_oldClick();
    EXPECT_TRUE(QFileInfo::exists(WorkPath("Image 0.bmp")));
}

TEST_F(TOpenSaveTest, DefaultFormatPreselectsTheSaveType)
{
    Open(MakeBmp("page.bmp", 5, 5));
    const std::pair<int, int> cases[] = {{0, 2}, {1, 5}, {2, 1}, {3, 4}, {4, 12}};
    for (auto [item, filterIndex] : cases) {
        Form->formats->SetItemIndex(item);
        Form->formatsClick();
        Script->ChooseSave(QString());
        Form->Enregistrersous1_oldClick();
        EXPECT_EQ(Script->Shown().back().Options.FilterIndex, filterIndex) << item;
    }
}

// The types whose writers are in: each writes a file that reads back at the same size.
TEST_F(TOpenSaveTest, SavesInEachWritableFormat)
{
    Open(MakeBmp("page.bmp", 40, 30));
    for (const char* extension : {"tif", "bmp", "pxm", "ppm", "pgm", "pbm", "gif"}) {
        SCOPED_TRACE(extension);
        const QString path = WorkPath(QString("out.") + extension);
        Form->Ngatif1_oldClick();
        Script->ChooseSave(path);
        Form->Enregistrersous1_oldClick();
        EXPECT_EQ(View()->Tag, 0);
        TImageIO check;
        check.LoadFromFile(path.toStdString());
        EXPECT_FALSE(check.Aborting);
        EXPECT_EQ(check.IEBitmap()->Width(), 40);
        EXPECT_EQ(check.IEBitmap()->Height(), 30);
    }
}

TEST_F(TOpenSaveTest, UnwritableNameWritesNothingAndStaysModified)
{
    Open(MakeBmp("page.bmp", 4, 4));
    Form->Ngatif1_oldClick();
    for (const char* name : {"out.tga", "out.xyz"}) {
        Script->ChooseSave(WorkPath(name)).Answer(TModalResult::mrOk);
        Form->Enregistrersous1_oldClick();
        EXPECT_FALSE(QFileInfo::exists(WorkPath(name)));
        EXPECT_EQ(View()->Tag, 1);
        EXPECT_TRUE(Script->ShownTexts().last().contains(WorkPath(name)));
    }
}

// Answers the image-options dialog of save all.
void AnswerOptions(bool confirm)
{
    WhenModal<TIOPreviewsDialog>([confirm](TIOPreviewsDialog& d) {
        EXPECT_EQ(d.Pages()->count(), 1);
        EXPECT_EQ(d.Pages()->tabText(0), "BMP");
        confirm ? d.accept() : d.reject();
    });
}

TEST_F(TOpenSaveTest, SaveAllWritesTheActiveTabIntoTheProgramFolder)
{
    Form->langage->SetItemIndex(1);  // the name stays French in English
    Open(MakeBmp("a.bmp", 6, 6));
    Open(MakeBmp("b.bmp", 7, 7));
    Form->PageControl2->setCurrentIndex(0);
    const QString expected = QDir(QCoreApplication::applicationDirPath()).filePath("Image 0.bmp");
    QFile::remove(expected);

    AnswerOptions(false);
    Form->CustomItem1Click();
    EXPECT_FALSE(QFileInfo::exists(expected));
    EXPECT_EQ(View()->Tag, 1);
    EXPECT_FALSE(Form->ProgressBar1->isVisible());

    AnswerOptions(true);
    Form->CustomItem1Click();
    ASSERT_TRUE(QFileInfo::exists(expected));
    EXPECT_EQ(TabText(0), expected);
    EXPECT_EQ(TabText(1), "b.bmp");
    EXPECT_EQ(Form->StatusText(), " Image 0.bmp ");
    EXPECT_EQ(View()->Tag, 0);
    // A later save as proposes that full path.
    Script->ChooseSave(QString());
    Form->Enregistrersous1_oldClick();
    EXPECT_EQ(Script->Shown().back().Options.FileName, expected);
    QFile::remove(expected);
}

} // namespace
