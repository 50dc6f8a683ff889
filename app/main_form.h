#pragma once
// TForm1: the main window. Every control is a member under its own name; every command is a
// handler method, defined in the folder of the subsystem that owns its behaviour:
//   app/          construction and layout, settings, window-level handlers
//   documents/    document tabs and the commands on documents
//   scan/         scan commands and window activation
//   output/       printing and the PDF command
//   prefs/        language, appearance, help
//   formats/conversion/  the conversion page
// Handlers may throw; exceptions reach the top-level handler (EAbort ends a command silently).

#include "app/command_state.h"
#include "app/image_list.h"
#include "formats/imageio/image_io.h"
#include "output/pdf/image_pdf_page.h"
#include "platform/dialogs/dialogs.h"

#include <QMainWindow>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QSlider;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QTreeView;
class TImageView;
class TRadioGroup;
class TUpDown;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Menu bar
    QMenuBar* MainMenu1;
    QMenu* Action1;
    QAction* Ouvrir1;
    QAction* fermer;
    QAction* toutfermer;
    QAction* CustomItem5;
    QAction* Enregistrersous1;
    QAction* CustomItem1;
    QAction* N13;
    QAction* Conversiondimages1;
    QAction* N3;
    QAction* Activerlescanner1;
    QAction* N5;
    QAction* Scanner1;
    QAction* ScanneretEnregistrer1;
    QAction* ToutenUn1;
    QAction* ScanneretImprimer1;
    QAction* N4;
    QAction* pdf;
    QAction* N1;
    QAction* AperuavantImpression1;
    QAction* Imprimer1;
    QAction* N2;
    QAction* Configurerlimprimante1;
    QAction* Quitter1;
    QAction* CustomItem2;
    QMenu* Edition1;
    QAction* Annuler1;
    QAction* N6;
    QAction* Copier1;
    QAction* Coller1;
    QMenu* Image1;
    QAction* AjustagedesCouleurs1;
    QAction* N7;
    QAction* Ngatif1;
    QAction* N8;
    QAction* EchelledeGris1;
    QAction* NoirBlanc1;
    QAction* Couluersvraies1;
    QAction* N9;
    QAction* Effets1;
    QAction* N10;
    QAction* Effacerlimage1;
    QMenu* N12;
    QAction* Aide1;
    QAction* N11;
    QAction* web;

    // Pop-up menu; it pops up on a right click only while PopupMenu1AutoPopup is on.
    QMenu* PopupMenu1;
    QAction* Unselect1;
    QAction* MenuItem1;
    QAction* Copy1;
    QAction* Coller2;
    bool PopupMenu1AutoPopup = false;

    // Action panel
    QWidget* Panel1;
    QGroupBox* GroupBox2;
    QComboBox* ComboBox1;
    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox3;
    QLabel* Label1;
    QComboBox* ComboBox3;
    QLabel* Label3;
    QComboBox* ComboBox2;
    QLabel* Label2;
    QLineEdit* Edit1;
    TUpDown* UpDown1;
    QProgressBar* ProgressBar1;
    QGroupBox* GroupBox3;
    QPushButton* SpeedButton5;
    QPushButton* SpeedButton6;
    QPushButton* SpeedButton2;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton4;
    QPushButton* SpeedButton7;
    QPushButton* SpeedButton3;

    // Pages
    QTabWidget* PageControl1;
    QWidget* TeTabSheet1;
    QWidget* TeTabSheet2;
    QWidget* TeTabSheet3;

    // "&Image" page
    QWidget* Panel2;
    QLabel* Label4;
    QSlider* TrackBar1;
    QComboBox* zoom;
    QLabel* Label8;
    QToolButton* retour45;
    QToolButton* vert;
    QToolButton* hor;
    QToolButton* SpeedButton9;
    QToolButton* SpeedButton10;
    QToolButton* SpeedButton11;
    QButtonGroup* SelectionGroup;  // group 1 of the two flat toggles
    QTabWidget* PageControl2;

    // "&Paramètres" page
    QGroupBox* TeGroupBox1;
    QLabel* Label5;
    QLabel* OSLabel;
    QLabel* Label6;
    QLabel* Label7;
    QToolButton* SpeedButton8;
    QCheckBox* activation;
    QGroupBox* GroupBox4;
    QCheckBox* Tiff;
    QCheckBox* Bmp;
    QCheckBox* Jpeg;
    QCheckBox* Png;
    QCheckBox* Gif;
    TRadioGroup* formats;
    TRadioGroup* langage;
    QGroupBox* exportacrobat;
    QCheckBox* acrobate;
    QGroupBox* Theme;
    QComboBox* themes;
    TRadioGroup* Effetmenu;
    QGroupBox* transparencemenus;
    QSlider* transparence;
    QPushButton* TeButton1;

    // "&Conversion" page
    QGroupBox* GroupBox5;
    QComboBox* RadioGroup1;
    QTreeView* DirTree1;
    QLabel* TeLabel1;
    QListView* FileList1;
    QGroupBox* GroupBox6;
    QComboBox* RadioGroup2;
    QTreeView* DirTree2;
    QLabel* TeLabel2;
    QGroupBox* TeGroupBox5;
    TImageView* ImageView2;
    QPushButton* Button2;

    // Status bar with its one panel
    QStatusBar* StatusBar1;
    QLabel* StatusPanel;
    QString StatusText() const;
    void SetStatusText(const QString& text);

    TImageList ImageList1;

    // Non-visual components
    TImageIO ImageIO1;
    TImageIO ImageIO2;
    TImageIO ImageIO3;
    TFileDialogOptions OpenImageDialog1;
    TFileDialogOptions SaveImageDialog1;
    TFileDialogOptions SaveDialog1;
    TFileDialogOptions OpenPictureDialog1;
    // The invisible page of the PDF command: PRPage1, PRLayoutPanel1, PRImage1 and PReport1.
    TImagePdfPage PdfPage;

    // Width and height of the image most recently opened, scanned or pasted.
    int LastImageWidth = 0;
    int LastImageHeight = 0;

    // Switches the document commands as the given event does (the command table).
    void ApplyCommandState(TCommandEvent event);
    // "Tout fe&rmer" and "T&out enregistrer" on with two or more documents, off otherwise.
    void ApplyTwoOrMoreRule();

    // Documents
    int DocumentCount() const;
    // The view of the active tab, or null when there is none.
    TImageView* ActiveView() const;
    static TImageView* ViewOfSheet(QWidget* sheet);

    // Window-level handlers (app/)
    void FormCreate();
    void FormResize();
    void PageControl1Change();
    void FormKeyDown(QKeyEvent* event);
    void Quitter1_oldClick();
    void fermerpanneauClick();
    void SpeedButton8Click();
    void Sauvegarder();
    void ReadComputerProperties();
    QString GetSpecialFolderPath(int folder);

    // Document tabs (documents/document_tabs.cpp)
    void fermerClick();
    void toutfermerClick();
    void FormCloseQuery(bool& CanClose);
    void ImageViewProgress(void* Sender, int per);

    // Opening and saving (documents/open_save.cpp)
    void Ouvrir1_oldClick();
    void Enregistrersous1_oldClick();
    void CustomItem1Click();
    void formatsClick();

    // View controls and clipboard (documents/view_controls.cpp)
    void Copier1_oldClick();
    void Coller1_oldClick();
    void Unselect1_oldClick();
    void Copy1_oldClick();
    void TrackBar1Change();
    void zoomChange();
    void retour45Click();
    void vertClick();
    void horClick();
    void SpeedButton10Click();
    void ImageViewMouseDown(TImageView* Sender, Qt::MouseButton Button, QPoint position);

    // Adjustments (documents/adjustments.cpp)
    void Annuler1_oldClick();
    void AjustagedesCouleurs1_oldClick();
    void Ngatif1_oldClick();
    void EchelledeGris1_oldClick();
    void NoirBlanc1_oldClick();
    void Couluersvraies1_oldClick();
    void Effets1_oldClick();
    void Effacerlimage1_oldClick();

    // Scanning (scan/scan_commands.cpp)
    void FormActivate();
    void Activationscanner();
    void validerClick();
    void SpeedButton4Click();
    void SpeedButton7Click();
    void SpeedButton3Click();

    // Printing and PDF (output/)
    void AperuavantImpression1_oldClick();
    void Imprimer1_oldClick();
    void Configurerlimprimante1_oldClick();
    void pdfClick();

    // Conversion page (formats/conversion/)
    void Conversiondimages1_oldClick();
    void DirTree1Change();
    void DirTree2Change();
    void FileList1Click();
    void RadioGroup1Click();
    void RadioGroup2Click();
    void Button2Click();
    // Points both folder trees at the save folder.
    void PointFolderTreesAt(const QString& folder);

    // Preferences (prefs/)
    void Francaisanglais();
    void themesChange();
    void EffetmenuClick();
    void transparenceChange();
    void Aide1_oldClick();
    void webClick();
    // Border icons of the frame for the theme index (system menu and close button for 0).
    void ApplyThemeFrame();
    // Menu effects and transparency as at every start.
    void ApplyMenuAppearance();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildActionPanel();
    void BuildImagePage();
    void BuildSettingsPage();
    void BuildConversionPage();
    void ConnectHandlers();

    // Settings store (app/settings_store.cpp)
    void ReadSettings();
    // Puts the window back on the primary screen when no screen shows any of it.
    void KeepOnScreen();

    // Documents (documents/document_tabs.cpp)
    void NewDocument();
    // Closes the active tab and activates the previous one (the last one after the first).
    void CloseActiveTab();
    QString DocumentPrompt(const QString& caption, bool english) const;

    // The key event last shown to FormKeyDown: a key travelling up the parents is seen once.
    const QEvent* FPreviewedKey = nullptr;
    quint64 FPreviewedKeyTime = 0;

    TImageView* FLastView = nullptr;
    QString FSaveAllName;
    QString FSaveAllPath;
    QWidget* FLastSheet = nullptr;

    friend class TForm1Access;
};
