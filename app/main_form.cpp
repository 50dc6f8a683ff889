#include "app/main_form.h"

#include "platform/controls/radio_group.h"
#include "platform/controls/up_down.h"
#include "platform/errors/errors.h"
#include "platform/view/image_view.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
// A handler bound to a signal: what it throws goes to the top-level handler right here, so
// that no exception crosses Qt's signal machinery.
template <typename Handler> auto Bound(Handler handler)
{
    return [handler](auto&&...) { Guarded(handler); };
}

// The visible tooltip of a hint: a hint ending in "|" shows only the part before the bar.
QString ShortHint(const QString& hint)
{
    return hint.section(QLatin1Char('|'), 0, 0);
}

QString WithoutAccelerator(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

template <typename W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A group box holding one control, with tight margins.
void Frame(QGroupBox* box, QWidget* control)
{
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(control);
}

void SetHint(QWidget* widget, const QString& hint, bool iconOnly)
{
    widget->setToolTip(ShortHint(hint));
    widget->setProperty("Hint", hint);
    if (iconOnly) widget->setAccessibleName(ShortHint(hint));
}
}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Numerak! 3.0"));
    BuildMenus();

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = Named(new QTabWidget(central), "PageControl1");
    TeTabSheet1 = Named(new QWidget, "TeTabSheet1");
    TeTabSheet2 = Named(new QWidget, "TeTabSheet2");
    TeTabSheet3 = Named(new QWidget, "TeTabSheet3");
    PageControl1->addTab(TeTabSheet1, ImageList1.Icon(16), QStringLiteral("&Image"));
    PageControl1->addTab(TeTabSheet2, ImageList1.Icon(14), QStringLiteral("&Paramètres"));
    PageControl1->addTab(TeTabSheet3, ImageList1.Icon(9), QStringLiteral("&Conversion"));
    layout->addWidget(PageControl1, 1);
    BuildActionPanel();
    layout->addWidget(Panel1);
    setCentralWidget(central);
    BuildImagePage();
    BuildSettingsPage();
    BuildConversionPage();

    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    StatusPanel = Named(new QLabel(StatusBar1), "StatusPanel");
    StatusPanel->setMinimumWidth(600);
    StatusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusBar1->addWidget(StatusPanel, 1);
    StatusBar1->setSizeGripEnabled(true);
    setStatusBar(StatusBar1);

    ImageIO1.AutoAdjustDPI = true;
    OpenImageDialog1.Title = QStringLiteral("Ouvrir une image");
    SaveImageDialog1.FilterIndex = 5;

    resize(748, 580);
    // Key preview: the window sees every key before the focused control.
    qApp->installEventFilter(this);
    ConnectHandlers();
    Guarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::BuildMenus()
{
    MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
    setMenuBar(MainMenu1);
    auto item = [this](QMenu* menu, QAction*& action, const char* name, const QString& caption, int image,
                       bool enabled = true) {
        action = Named(new QAction(caption, this), name);
        if (image >= 0) action->setIcon(ImageList1.Icon(image));
        action->setEnabled(enabled);
        menu->addAction(action);
    };
    auto separator = [this](QMenu* menu, QAction*& action, const char* name) {
        action = Named(new QAction(this), name);
        action->setSeparator(true);
        menu->addAction(action);
    };

    Action1 = Named(MainMenu1->addMenu(QStringLiteral("&Action")), "Action1");
    item(Action1, Ouvrir1, "Ouvrir1", QStringLiteral("&Ouvrir"), 0);
    item(Action1, fermer, "fermer", QStringLiteral("&Fermer"), 17, false);
    item(Action1, toutfermer, "toutfermer", QStringLiteral("Tout fe&rmer"), 18, false);
    separator(Action1, CustomItem5, "CustomItem5");
    item(Action1, Enregistrersous1, "Enregistrersous1", QStringLiteral("&Enregistrer sous..."), 1, false);
    item(Action1, CustomItem1, "CustomItem1", QStringLiteral("T&out enregistrer"), 19, false);
    separator(Action1, N13, "N13");
    item(Action1, Conversiondimages1, "Conversiondimages1", QStringLiteral("&Conversion d'images"), 9);
    separator(Action1, N3, "N3");
    item(Action1, Activerlescanner1, "Activerlescanner1", QStringLiteral("&Activer le scanner"), 8);
    separator(Action1, N5, "N5");
    item(Action1, Scanner1, "Scanner1", QStringLiteral("&Scanner"), 2);
    item(Action1, ScanneretEnregistrer1, "ScanneretEnregistrer1", QStringLiteral("Scanner et &Enregistrer"), 3);
    item(Action1, ToutenUn1, "ToutenUn1", QStringLiteral("&Tout en Un"), 4);
    item(Action1, ScanneretImprimer1, "ScanneretImprimer1", QStringLiteral("Scanner et Imprimer"), 1);
    separator(Action1, N4, "N4");
    item(Action1, pdf, "pdf", QStringLiteral("Créer un fichier &Pdf"), 15, false);
    separator(Action1, N1, "N1");
    item(Action1, AperuavantImpression1, "AperuavantImpression1", QStringLiteral("A&perçu avant impression"), 11,
         false);
    item(Action1, Imprimer1, "Imprimer1", QStringLiteral("&Imprimer"), 5, false);
    separator(Action1, N2, "N2");
    item(Action1, Configurerlimprimante1, "Configurerlimprimante1", QStringLiteral("&Configurer l'imprimante"), 10);
    item(Action1, Quitter1, "Quitter1", QStringLiteral("&Quitter"), 7);
    separator(Action1, CustomItem2, "CustomItem2");

    Edition1 = Named(MainMenu1->addMenu(QStringLiteral("&Edition")), "Edition1");
    item(Edition1, Annuler1, "Annuler1", QStringLiteral("&Annuler"), 26, false);
    separator(Edition1, N6, "N6");
    item(Edition1, Copier1, "Copier1", QStringLiteral("&Copier"), 25, false);
    item(Edition1, Coller1, "Coller1", QStringLiteral("C&oller"), 24);

    Image1 = Named(MainMenu1->addMenu(QStringLiteral("&Image")), "Image1");
    item(Image1, AjustagedesCouleurs1, "AjustagedesCouleurs1", QStringLiteral("&Ajustage des Couleurs"), -1);
    separator(Image1, N7, "N7");
    item(Image1, Ngatif1, "Ngatif1", QStringLiteral("&Négatif"), -1);
    separator(Image1, N8, "N8");
    item(Image1, EchelledeGris1, "EchelledeGris1", QStringLiteral("&Echelle de Gris"), -1);
    item(Image1, NoirBlanc1, "NoirBlanc1", QStringLiteral("Noir et &Blanc"), -1);
    item(Image1, Couluersvraies1, "Couluersvraies1", QStringLiteral("&Couleurs vraies"), -1);
    separator(Image1, N9, "N9");
    item(Image1, Effets1, "Effets1", QStringLiteral("E&ffets"), -1);
    separator(Image1, N10, "N10");
    item(Image1, Effacerlimage1, "Effacerlimage1", QStringLiteral("Effacer l'&image"), -1);
    Image1->menuAction()->setEnabled(false);

    N12 = Named(MainMenu1->addMenu(QStringLiteral("?")), "N12");
    item(N12, Aide1, "Aide1", QStringLiteral("&Aide"), 13);
    separator(N12, N11, "N11");
    item(N12, web, "web", QStringLiteral("Numerak sur le Web"), 20);

    PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
    item(PopupMenu1, Unselect1, "Unselect1", QStringLiteral("&Déselectionner"), -1);
    separator(PopupMenu1, MenuItem1, "MenuItem1");
    item(PopupMenu1, Copy1, "Copy1", QStringLiteral("&Copier"), -1);
    item(PopupMenu1, Coller2, "Coller2", QStringLiteral("Co&ller"), -1);
}

void TForm1::BuildActionPanel()
{
    Panel1 = Named(new QWidget(this), "Panel1");
    Panel1->setFixedWidth(224);
    auto* layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);

    GroupBox2 = Named(new QGroupBox(QStringLiteral("Choix du scanner"), Panel1), "GroupBox2");
    ComboBox1 = Named(new QComboBox(GroupBox2), "ComboBox1");
    ComboBox1->setAccessibleName(GroupBox2->title());
    auto* sources = new QVBoxLayout(GroupBox2);
    sources->setContentsMargins(6, 4, 6, 4);
    sources->addWidget(ComboBox1);
    layout->addWidget(GroupBox2);

    GroupBox1 = Named(new QGroupBox(QStringLiteral(" Options  du scanner"), Panel1), "GroupBox1");
    auto* options = new QGridLayout(GroupBox1);
    options->setContentsMargins(6, 4, 6, 4);
    options->setVerticalSpacing(2);
    options->setHorizontalSpacing(4);
    CheckBox1 = Named(new QCheckBox(QStringLiteral("Dialogue Scanner"), GroupBox1), "CheckBox1");
    CheckBox3 = Named(new QCheckBox(QStringLiteral("Affichage de l'image"), GroupBox1), "CheckBox3");
    CheckBox3->setChecked(true);
    Label1 = Named(new QLabel(QStringLiteral("Résolution:"), GroupBox1), "Label1");
    ComboBox3 = Named(new QComboBox(GroupBox1), "ComboBox3");
    ComboBox3->setEditable(true);
    ComboBox3->addItems({"100", "200", "220", "300", "400", "500", "600"});
    ComboBox3->setCurrentIndex(-1);
    ComboBox3->setEditText(QStringLiteral("200"));
    Label1->setBuddy(ComboBox3);
    ComboBox3->setAccessibleName(Label1->text());
    Label3 = Named(new QLabel(QStringLiteral("Couleurs:"), GroupBox1), "Label3");
    ComboBox2 = Named(new QComboBox(GroupBox1), "ComboBox2");
    Label3->setBuddy(ComboBox2);
    ComboBox2->setAccessibleName(Label3->text());
    Label2 = Named(new QLabel(QStringLiteral("Nombre de copies:"), GroupBox1), "Label2");
    Edit1 = Named(new QLineEdit(GroupBox1), "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setFixedWidth(36);
    Label2->setBuddy(Edit1);
    UpDown1 = Named(new TUpDown(1, 100, 1, GroupBox1), "UpDown1");
    UpDown1->SetAssociate(Edit1);
    UpDown1->setFixedSize(16, Edit1->sizeHint().height());
    UpDown1->setAccessibleName(WithoutAccelerator(Label2->text()));
    auto* copies = new QHBoxLayout;
    copies->setSpacing(0);
    copies->addWidget(Edit1);
    copies->addWidget(UpDown1);
    copies->addStretch();
    // The lists stay narrow so that the labels keep their full width in the fixed panel.
    for (QComboBox* list : {ComboBox3, ComboBox2}) {
        list->setMinimumContentsLength(3);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    options->setColumnStretch(1, 1);
    options->addWidget(CheckBox1, 0, 0, 1, 2);
    options->addWidget(CheckBox3, 1, 0, 1, 2);
    options->addWidget(Label1, 2, 0);
    options->addWidget(ComboBox3, 2, 1);
    options->addWidget(Label3, 3, 0);
    options->addWidget(ComboBox2, 3, 1);
    options->addWidget(Label2, 4, 0);
    options->addLayout(copies, 4, 1);
    layout->addWidget(GroupBox1);

    ProgressBar1 = Named(new QProgressBar(Panel1), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setFixedSize(209, 16);
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1, 0, Qt::AlignHCenter);

    GroupBox3 = Named(new QGroupBox(QStringLiteral("Action"), Panel1), "GroupBox3");
    auto* actions = new QVBoxLayout(GroupBox3);
    actions->setContentsMargins(4, 2, 4, 2);
    actions->setSpacing(2);
    auto button = [&](QPushButton*& b, const char* name, const QString& caption, const QString& hint, int image,
                      bool enabled) {
        b = Named(new QPushButton(ImageList1.Icon(image), caption, GroupBox3), name);
        b->setFixedSize(193, 40);
        b->setEnabled(enabled);
        SetHint(b, hint, false);
        actions->addWidget(b, 0, Qt::AlignHCenter);
    };
    button(SpeedButton5, "SpeedButton5", QStringLiteral("&Ouvrir"), QStringLiteral("Ouvrir une image existante"), 0,
           true);
    button(SpeedButton6, "SpeedButton6", QStringLiteral("En&registrer sous.."), QStringLiteral("Enregistrer l'image"),
           1, false);
    button(SpeedButton2, "SpeedButton2", QStringLiteral("&Scanner"), QStringLiteral("Scanner un document"), 2, false);
    button(SpeedButton1, "SpeedButton1", QStringLiteral("Im&primer"), QStringLiteral("Imprimer l'image"), 5, false);
    button(SpeedButton4, "SpeedButton4", QStringLiteral("Scanner-&Enregistrer"),
           QStringLiteral("Scanner et enregistre l'image"), 3, false);
    button(SpeedButton7, "SpeedButton7", QStringLiteral("Tout en &Un"),
           QStringLiteral("Scanner, imprimer et enregistrer l'image"), 4, false);
    button(SpeedButton3, "SpeedButton3", QStringLiteral("Scanner-&Imprimer"), QStringLiteral("Scanner et imprimer"),
           1, false);
    layout->addWidget(GroupBox3);
    layout->addStretch();
}

void TForm1::BuildImagePage()
{
    auto* page = new QVBoxLayout(TeTabSheet1);
    page->setContentsMargins(2, 2, 2, 2);
    Panel2 = Named(new QWidget(TeTabSheet1), "Panel2");
    Panel2->setFixedHeight(41);
    auto* bar = new QHBoxLayout(Panel2);
    bar->setContentsMargins(4, 0, 4, 0);
    Label4 = Named(new QLabel(QStringLiteral("Zoom:"), Panel2), "Label4");
    TrackBar1 = Named(new QSlider(Qt::Horizontal, Panel2), "TrackBar1");
    TrackBar1->setRange(0, 20000);
    TrackBar1->setTickInterval(1000);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setPageStep(1000);
    TrackBar1->setValue(0);
    TrackBar1->setMinimumWidth(80);
    SetHint(TrackBar1, QStringLiteral("Zoom"), true);
    zoom = Named(new QComboBox(Panel2), "zoom");
    zoom->setEditable(true);
    zoom->addItems({"Ajuster", "25", "33", "50", "100", "200", "300", "400", "600", "1600"});
    zoom->setCurrentIndex(-1);
    zoom->setEnabled(false);
    SetHint(zoom, QStringLiteral("Zoom|"), true);
    Label8 = Named(new QLabel(QStringLiteral("%"), Panel2), "Label8");
    auto tool = [this](QToolButton*& b, const char* name, const QString& hint, const char* icon,
                       QStyle::StandardPixmap fallback) {
        b = Named(new QToolButton(Panel2), name);
        b->setIcon(QIcon::fromTheme(QString::fromLatin1(icon), style()->standardIcon(fallback)));
        b->setEnabled(false);
        b->setFocusPolicy(Qt::StrongFocus);
        SetHint(b, hint, true);
    };
    tool(retour45, "retour45", QStringLiteral("Pivoter de 90°"), "object-rotate-right", QStyle::SP_BrowserReload);
    tool(vert, "vert", QStringLiteral("Retournement vertical"), "object-flip-vertical", QStyle::SP_ArrowDown);
    tool(hor, "hor", QStringLiteral("Miroir"), "object-flip-horizontal", QStyle::SP_ArrowRight);
    tool(SpeedButton9, "SpeedButton9", QStringLiteral("Ajuster les Couleurs|"), "preferences-color",
         QStyle::SP_DesktopIcon);
    tool(SpeedButton10, "SpeedButton10", QStringLiteral("Selectionner|"), "edit-select-all",
         QStyle::SP_FileDialogListView);
    tool(SpeedButton11, "SpeedButton11", QStringLiteral("Choisir|"), "input-mouse", QStyle::SP_ArrowUp);
    for (QToolButton* flat : {SpeedButton9, SpeedButton10, SpeedButton11}) flat->setAutoRaise(true);
    SelectionGroup = Named(new QButtonGroup(this), "SelectionGroup");
    for (QToolButton* toggle : {SpeedButton10, SpeedButton11}) {
        toggle->setCheckable(true);
        SelectionGroup->addButton(toggle);
    }
    SelectionGroup->setExclusive(true);
    SpeedButton11->setChecked(true);
    bar->addWidget(Label4);
    bar->addWidget(TrackBar1, 1);
    bar->addWidget(zoom);
    bar->addWidget(Label8);
    bar->addSpacing(8);
    for (QToolButton* b : {retour45, vert, hor, SpeedButton9, SpeedButton10, SpeedButton11}) bar->addWidget(b);
    Label4->setBuddy(TrackBar1);
    page->addWidget(Panel2);

    PageControl2 = Named(new QTabWidget(TeTabSheet1), "PageControl2");
    PageControl2->setDocumentMode(true);
    PageControl2->setUsesScrollButtons(true);
    page->addWidget(PageControl2, 1);
}

void TForm1::BuildSettingsPage()
{
    auto* page = new QVBoxLayout(TeTabSheet2);
    page->setContentsMargins(4, 4, 4, 4);
    TeGroupBox1 = Named(new QGroupBox(QStringLiteral("&Paramètres Image"), TeTabSheet2), "TeGroupBox1");
    page->addWidget(TeGroupBox1);
    auto* grid = new QGridLayout(TeGroupBox1);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);

    // Paths and system names can be long; they must not widen the window.
    auto valueLabel = [](QLabel* label) {
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    };
    Label5 = Named(new QLabel(QStringLiteral("Système d'exploitation:"), TeGroupBox1), "Label5");
    OSLabel = Named(new QLabel(TeGroupBox1), "OSLabel");
    valueLabel(OSLabel);
    Label6 = Named(new QLabel(QStringLiteral("Répertoire d'enregistrement:"), TeGroupBox1), "Label6");
    Label7 = Named(new QLabel(TeGroupBox1), "Label7");
    valueLabel(Label7);
    SpeedButton8 = Named(new QToolButton(TeGroupBox1), "SpeedButton8");
    SpeedButton8->setText(QStringLiteral(".."));
    SpeedButton8->setAccessibleName(WithoutAccelerator(Label6->text()));
    SpeedButton8->setFocusPolicy(Qt::StrongFocus);
    activation = Named(new QCheckBox(QStringLiteral("Activer le Scanner au démarrage"), TeGroupBox1), "activation");
    auto* folder = new QHBoxLayout;
    folder->addWidget(Label7, 1);
    folder->addWidget(SpeedButton8);
    grid->addWidget(Label5, 0, 0);
    grid->addWidget(OSLabel, 0, 1);
    grid->addWidget(Label6, 1, 0);
    grid->addLayout(folder, 1, 1);
    grid->addWidget(activation, 2, 0, 1, 2);

    auto* left = new QVBoxLayout;
    left->setSpacing(3);
    GroupBox4 = Named(new QGroupBox(QStringLiteral("&Enregistrement du type"), TeGroupBox1), "GroupBox4");
    SetHint(GroupBox4, QStringLiteral("Associer Numerak à un type de fichier"), false);
    auto* types = new QGridLayout(GroupBox4);
    int typeCount = 0;
    auto typeBox = [&](QCheckBox*& box, const char* name) {
        box = Named(new QCheckBox(QString::fromLatin1(name), GroupBox4), name);
        types->addWidget(box, typeCount / 3, typeCount % 3);
        ++typeCount;
    };
    typeBox(Tiff, "Tiff");
    typeBox(Bmp, "Bmp");
    typeBox(Jpeg, "Jpeg");
    typeBox(Png, "Png");
    typeBox(Gif, "Gif");
    left->addWidget(GroupBox4);
    formats = Named(new TRadioGroup(QStringLiteral("&Format d'enregistrement par défaut"),
                                    {"Tiff", "Bmp", "Jpeg", "Png", "Gif"}, 3, TeGroupBox1),
                    "formats");
    left->addWidget(formats);
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->setSpacing(3);
    langage = Named(new TRadioGroup(QStringLiteral("&Langue"), {"Français", "Anglais"}, 2, TeGroupBox1), "langage");
    langage->SetItemIndex(0);
    right->addWidget(langage);
    exportacrobat = Named(new QGroupBox(QStringLiteral("&Export vers Acrobat Reader"), TeGroupBox1), "exportacrobat");
    acrobate = Named(new QCheckBox(QStringLiteral("Voir le fichier Pdf après création"), exportacrobat), "acrobate");
    acrobate->setChecked(true);
    Frame(exportacrobat, acrobate);
    right->addWidget(exportacrobat);
    Theme = Named(new QGroupBox(QStringLiteral("&Thèmes"), TeGroupBox1), "Theme");
    themes = Named(new QComboBox(Theme), "themes");
    themes->addItems({"Pas de thème", "Aqua", "BeOS", "MacOS", "Watercolor", "Swing", "Luna blue", "Luna metal",
                      "Luna Stead", "Plex", "ProfSkin", "QNX", "KDE", "Autre..."});
    themes->setCurrentIndex(0);
    themes->setAccessibleName(WithoutAccelerator(Theme->title()));
    Frame(Theme, themes);
    right->addWidget(Theme);
    Effetmenu = Named(new TRadioGroup(QStringLiteral("&Effets des menus"),
                                      {"Aucun", "Déroulant à droite", "Déroulant centré"}, 1, TeGroupBox1),
                      "Effetmenu");
    Effetmenu->SetItemIndex(1);
    right->addWidget(Effetmenu);
    transparencemenus =
        Named(new QGroupBox(QStringLiteral("&Transparence des menus"), TeGroupBox1), "transparencemenus");
    transparence = Named(new QSlider(Qt::Horizontal, transparencemenus), "transparence");
    transparence->setRange(0, 255);
    transparence->setTickInterval(15);
    transparence->setTickPosition(QSlider::TicksBelow);
    transparence->setValue(200);
    transparence->setAccessibleName(WithoutAccelerator(transparencemenus->title()));
    Frame(transparencemenus, transparence);
    right->addWidget(transparencemenus);
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    grid->addLayout(columns, 3, 0, 1, 2);
    TeButton1 = Named(new QPushButton(QStringLiteral("&OK"), TeGroupBox1), "TeButton1");
    grid->addWidget(TeButton1, 4, 1, Qt::AlignRight);
    grid->setRowStretch(3, 1);
}

void TForm1::BuildConversionPage()
{
    auto* page = new QHBoxLayout(TeTabSheet3);
    GroupBox5 = Named(new QGroupBox(QStringLiteral("&Images à convertir depuis:"), TeTabSheet3), "GroupBox5");
    auto* source = new QVBoxLayout(GroupBox5);
    RadioGroup1 = Named(new QComboBox(GroupBox5), "RadioGroup1");
    RadioGroup1->addItems({"tif", "gif", "bmp", "jpg", "png"});
    RadioGroup1->setCurrentIndex(0);
    RadioGroup1->setAccessibleName(WithoutAccelerator(GroupBox5->title()));
    DirTree1 = Named(new QTreeView(GroupBox5), "DirTree1");
    TeLabel1 = Named(new QLabel(GroupBox5), "TeLabel1");
    TeLabel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FileList1 = Named(new QListView(GroupBox5), "FileList1");
    FileList1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    source->addWidget(RadioGroup1);
    source->addWidget(DirTree1, 1);
    source->addWidget(TeLabel1);
    source->addWidget(FileList1, 1);
    page->addWidget(GroupBox5, 1);

    auto* right = new QVBoxLayout;
    GroupBox6 = Named(new QGroupBox(QStringLiteral("&Images converties en:"), TeTabSheet3), "GroupBox6");
    auto* target = new QVBoxLayout(GroupBox6);
    RadioGroup2 = Named(new QComboBox(GroupBox6), "RadioGroup2");
    RadioGroup2->addItems({"tif", "gif", "bmp", "jpg", "png"});
    RadioGroup2->setCurrentIndex(1);
    RadioGroup2->setAccessibleName(WithoutAccelerator(GroupBox6->title()));
    DirTree2 = Named(new QTreeView(GroupBox6), "DirTree2");
    TeLabel2 = Named(new QLabel(GroupBox6), "TeLabel2");
    TeLabel2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    target->addWidget(RadioGroup2);
    target->addWidget(DirTree2, 1);
    target->addWidget(TeLabel2);
    right->addWidget(GroupBox6, 1);
    TeGroupBox5 = Named(new QGroupBox(QStringLiteral("&Aperçu"), TeTabSheet3), "TeGroupBox5");
    ImageView2 = Named(new TImageView(TeGroupBox5), "ImageView2");
    (new QVBoxLayout(TeGroupBox5))->addWidget(ImageView2);
    ImageIO3.SetAttachedImage(ImageView2);
    right->addWidget(TeGroupBox5, 1);
    Button2 = Named(new QPushButton(QStringLiteral("&Convertir"), TeTabSheet3), "Button2");
    right->addWidget(Button2, 0, Qt::AlignRight);
    page->addLayout(right, 1);
}

void TForm1::ConnectHandlers()
{
    const std::pair<QAction*, void (TForm1::*)()> actions[] = {
        {Ouvrir1, &TForm1::Ouvrir1_oldClick},
        {fermer, &TForm1::fermerClick},
        {toutfermer, &TForm1::toutfermerClick},
        {Enregistrersous1, &TForm1::Enregistrersous1_oldClick},
        {CustomItem1, &TForm1::CustomItem1Click},
        {Conversiondimages1, &TForm1::Conversiondimages1_oldClick},
        {Activerlescanner1, &TForm1::Activationscanner},
        {Scanner1, &TForm1::validerClick},
        {ScanneretEnregistrer1, &TForm1::SpeedButton4Click},
        {ToutenUn1, &TForm1::SpeedButton7Click},
        {ScanneretImprimer1, &TForm1::SpeedButton3Click},
        {pdf, &TForm1::pdfClick},
        {AperuavantImpression1, &TForm1::AperuavantImpression1_oldClick},
        {Imprimer1, &TForm1::Imprimer1_oldClick},
        {Configurerlimprimante1, &TForm1::Configurerlimprimante1_oldClick},
        {Quitter1, &TForm1::Quitter1_oldClick},
        {Annuler1, &TForm1::Annuler1_oldClick},
        {Copier1, &TForm1::Copier1_oldClick},
        {Coller1, &TForm1::Coller1_oldClick},
        {AjustagedesCouleurs1, &TForm1::AjustagedesCouleurs1_oldClick},
        {Ngatif1, &TForm1::Ngatif1_oldClick},
        {EchelledeGris1, &TForm1::EchelledeGris1_oldClick},
        {NoirBlanc1, &TForm1::NoirBlanc1_oldClick},
        {Couluersvraies1, &TForm1::Couluersvraies1_oldClick},
        {Effets1, &TForm1::Effets1_oldClick},
        {Effacerlimage1, &TForm1::Effacerlimage1_oldClick},
        {Aide1, &TForm1::Aide1_oldClick},
        {web, &TForm1::webClick},
        {Unselect1, &TForm1::Unselect1_oldClick},
        {Copy1, &TForm1::Copy1_oldClick},
        {Coller2, &TForm1::Coller1_oldClick},
    };
    for (const auto& [action, handler] : actions)
        connect(action, &QAction::triggered, this, Bound([this, handler = handler] { (this->*handler)(); }));

    const std::pair<QAbstractButton*, void (TForm1::*)()> buttons[] = {
        {SpeedButton5, &TForm1::Ouvrir1_oldClick},
        {SpeedButton6, &TForm1::Enregistrersous1_oldClick},
        {SpeedButton2, &TForm1::validerClick},
        {SpeedButton1, &TForm1::Imprimer1_oldClick},
        {SpeedButton4, &TForm1::SpeedButton4Click},
        {SpeedButton7, &TForm1::SpeedButton7Click},
        {SpeedButton3, &TForm1::SpeedButton3Click},
        {retour45, &TForm1::retour45Click},
        {vert, &TForm1::vertClick},
        {hor, &TForm1::horClick},
        {SpeedButton9, &TForm1::Effets1_oldClick},
        {SpeedButton10, &TForm1::SpeedButton10Click},
        {SpeedButton8, &TForm1::SpeedButton8Click},
        {TeButton1, &TForm1::fermerpanneauClick},
        {Button2, &TForm1::Button2Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QAbstractButton::clicked, this, Bound([this, handler = handler] { (this->*handler)(); }));

    connect(PageControl1, &QTabWidget::currentChanged, this, Bound([this] { PageControl1Change(); }));
    connect(TrackBar1, &QSlider::valueChanged, this, Bound([this] { TrackBar1Change(); }));
    connect(zoom, &QComboBox::currentTextChanged, this, Bound([this] { zoomChange(); }));
    connect(themes, &QComboBox::activated, this, Bound([this] { themesChange(); }));
    connect(Effetmenu, &TRadioGroup::Click, this, Bound([this] { EffetmenuClick(); }));
    connect(transparence, &QSlider::valueChanged, this, Bound([this] { transparenceChange(); }));
    connect(formats, &TRadioGroup::Click, this, Bound([this] { formatsClick(); }));
    connect(langage, &TRadioGroup::Click, this, Bound([this] { Francaisanglais(); }));
    connect(RadioGroup1, &QComboBox::activated, this, Bound([this] { RadioGroup1Click(); }));
    connect(RadioGroup2, &QComboBox::activated, this, Bound([this] { RadioGroup2Click(); }));
    connect(FileList1, &QListView::clicked, this, Bound([this] { FileList1Click(); }));
}

QString TForm1::StatusText() const
{
    return StatusPanel->text();
}

void TForm1::SetStatusText(const QString& text)
{
    StatusPanel->setText(text);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Guarded([this] { FormResize(); });
}

void TForm1::closeEvent(QCloseEvent* event)
{
    bool canClose = true;
    try {
        FormCloseQuery(canClose);
    } catch (...) {
        canClose = false;
        HandleException();
    }
    event->setAccepted(canClose);
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Guarded([this] { FormActivate(); });
}

void TForm1::contextMenuEvent(QContextMenuEvent* event)
{
    if (PopupMenu1AutoPopup) PopupMenu1->popup(event->globalPos());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key != FPreviewedKey || key->timestamp() != FPreviewedKeyTime) {
            FPreviewedKey = key;
            FPreviewedKeyTime = key->timestamp();
            Guarded([this, key] { FormKeyDown(key); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
