#include "tests/harness/gui_test.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>

#include "formats/core/ie_stream.h"
#include "platform/shell/shell_open.h"
#include "platform/view/image_view.h"

namespace {

const QString RotateQuestion =
    QStringLiteral("L'image est plus large que haute: elle sera déformée. Voulez vous la pivoter de 90°?");

class PdfCommand : public TGuiTest {
protected:
    void SetUp() override {
        TGuiTest::SetUp();
        Form = CreateForm();
    }
    // A document holding a width × height image, remembered as the last image opened.
    TImageView* AddImage(int width, int height) {
        TImageView* view = AddDocument(*Form);
        view->IEBitmap().Allocate(width, height, ipf24RGB);
        view->IEBitmap().Fill(0x80);
        Form->LastImageWidth = width;
        Form->LastImageHeight = height;
        return view;
    }
    QString Target(const QString& name) const { return Dir.filePath(name); }
    static std::string Read(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return file.readAll().toStdString();
    }
    void ExpectQpdfClean(const QString& path) {
        const int status = std::system(("qpdf --check '" + path.toStdString() + "' >/dev/null 2>&1").c_str());
        EXPECT_EQ(status, 0) << path.toStdString();
    }

    std::unique_ptr<TForm1> Form;
    QTemporaryDir Dir;
    TShellRecorder Shell;
};

}  // namespace

TEST_F(PdfCommand, WideImageIsTurnedOnYesAndAskedAgainNextTime) {
    TImageView* view = AddImage(1000, 600);
    Script().Answer(TModalResult::mrYes).ChooseSave(Target("wide.pdf"));
    Call(*Form, &TForm1::pdfClick);

    ASSERT_EQ(Script().Shown().size(), 2u);
    EXPECT_EQ(Script().Shown()[0].Text, RotateQuestion);
    EXPECT_EQ(Script().Shown()[0].Buttons, TMsgDlgButtons(mbYes | mbNo));
    const TFileDialogOptions& save = Script().Shown()[1].Options;
    EXPECT_EQ(save.FileName, ".pdf");
    EXPECT_EQ(save.DefaultExt, "pdf");
    EXPECT_EQ(view->IEBitmap().Width(), 600);
    EXPECT_EQ(view->IEBitmap().Height(), 1000);
    EXPECT_EQ(view->Tag, 0);  // the turn is for the page only: the document is not modified

    const std::string file = Read(Target("wide.pdf"));
    EXPECT_NE(file.find("/Width 600\r\n/Height 1000\r\n"), std::string::npos);
    EXPECT_NE(file.find("q\n534 0 0 734 33 33 cm\n/PRImage1 Do\nQ\n"), std::string::npos);
    ExpectQpdfClean(Target("wide.pdf"));
    EXPECT_EQ(Shell.Requests(), QStringList{Target("wide.pdf")});
    EXPECT_TRUE(Form->StatusText().isEmpty());
    EXPECT_TRUE(Form->SaveDialog1.DefaultExt.isEmpty());

    // The remembered size did not change, so the question comes again; No keeps the image.
    Script().Answer(TModalResult::mrNo).ChooseSave(Target("again.pdf"));
    Call(*Form, &TForm1::pdfClick);
    EXPECT_EQ(Script().ShownTexts().count(RotateQuestion), 2);
    EXPECT_EQ(view->IEBitmap().Width(), 600);
    EXPECT_NE(Read(Target("again.pdf")).find("/Width 600\r\n/Height 1000\r\n"), std::string::npos);
}

TEST_F(PdfCommand, NoQuestionForLowOrPortraitImages) {
    for (const auto& [width, height] : {std::pair{1000, 500}, std::pair{600, 1000}}) {
        AddImage(width, height);
        const QString name = Target(QString("%1x%2.pdf").arg(width).arg(height));
        Script().ChooseSave(name);
        Call(*Form, &TForm1::pdfClick);
        const std::string file = Read(name);
        EXPECT_NE(file.find("/Width " + std::to_string(width) + "\r\n/Height " + std::to_string(height) + "\r\n"),
                  std::string::npos);
        ExpectQpdfClean(name);
    }
    EXPECT_FALSE(Script().ShownTexts().contains(RotateQuestion));
}

TEST_F(PdfCommand, ViewerOnlyWhenAsked) {
    AddImage(100, 50);
    Form->acrobate->setChecked(false);
    Script().ChooseSave(Target("quiet.pdf"));
    Call(*Form, &TForm1::pdfClick);
    EXPECT_TRUE(QFile::exists(Target("quiet.pdf")));
    EXPECT_TRUE(Shell.Requests().isEmpty());
}

TEST_F(PdfCommand, CancelWritesNothingButKeepsAnAcceptedTurn) {
    TImageView* view = AddImage(1000, 600);
    Script().Answer(TModalResult::mrYes).ChooseSave(QString());
    Call(*Form, &TForm1::pdfClick);
    EXPECT_EQ(view->IEBitmap().Width(), 600);
    EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(Shell.Requests().isEmpty());
    EXPECT_TRUE(Form->SaveDialog1.DefaultExt.isEmpty());
}

TEST_F(PdfCommand, FailureIsShownAndLeavesNoStaleState) {
    AddImage(100, 50);
    const QString target = Target("missing/out.pdf");
    Script().ChooseSave(target).AcceptError();
    Call(*Form, &TForm1::pdfClick);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(Shell.Requests().isEmpty());
    EXPECT_TRUE(Form->StatusText().isEmpty());
    EXPECT_TRUE(Form->SaveDialog1.DefaultExt.isEmpty());
}
