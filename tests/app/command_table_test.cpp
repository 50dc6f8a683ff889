#include "tests/harness/gui_test.h"

#include <QAction>
#include <QMenu>
#include <QSlider>

namespace {
// The document group, as the menus and buttons name it.
const QStringList Group = {"Copier1", "Enregistrersous1", "fermer", "toutfermer", "CustomItem1",
                           "AperuavantImpression1", "Imprimer1", "SpeedButton6", "SpeedButton1", "TrackBar1",
                           "retour45", "hor", "vert", "zoom", "Image1", "Annuler1", "SpeedButton9",
                           "SpeedButton10", "SpeedButton11", "pdf", "PopupMenu1"};

bool IsEnabled(TForm1& form, const QString& name)
{
    if (name == QLatin1String("PopupMenu1")) return form.PopupMenu1AutoPopup;
    if (auto* menu = form.findChild<QMenu*>(name)) return menu->menuAction()->isEnabled();
    if (auto* action = form.findChild<QAction*>(name)) return action->isEnabled();
    return form.findChild<QWidget*>(name)->isEnabled();
}

void SetEnabled(TForm1& form, const QString& name, bool on)
{
    if (name == QLatin1String("PopupMenu1")) form.PopupMenu1AutoPopup = on;
    else if (auto* menu = form.findChild<QMenu*>(name)) menu->menuAction()->setEnabled(on);
    else if (auto* action = form.findChild<QAction*>(name)) action->setEnabled(on);
    else form.findChild<QWidget*>(name)->setEnabled(on);
}

struct TColumn {
    const char* Name;
    TCommandEvent Event;
    int Documents;
    QStringList On;
    QStringList Off;  // everything in the group not named here keeps its state
    bool TrackBarToZero;
    bool StatusCleared;
};

const QStringList AllOff = Group;
}  // namespace

class CommandTableTest : public TGuiTest {};

TEST_F(CommandTableTest, EachEventSwitchesItsColumnAndKeepsTheRest)
{
    const TColumn columns[] = {
        {"open, one tab", TCommandEvent::ceOpen, 1,
         {"Copier1", "Enregistrersous1", "fermer", "AperuavantImpression1", "Imprimer1", "SpeedButton6",
          "SpeedButton1", "TrackBar1", "retour45", "hor", "vert", "zoom", "Image1", "Annuler1", "SpeedButton9",
          "SpeedButton10", "SpeedButton11", "pdf", "PopupMenu1"},
         {"toutfermer", "CustomItem1"}, true, false},
        {"scan, two tabs", TCommandEvent::ceScan, 2,
         {"Copier1", "Enregistrersous1", "fermer", "toutfermer", "CustomItem1", "AperuavantImpression1", "Imprimer1",
          "SpeedButton6", "SpeedButton1", "TrackBar1", "retour45", "hor", "vert", "zoom", "Image1", "Annuler1",
          "SpeedButton9", "SpeedButton10", "SpeedButton11", "pdf", "PopupMenu1"},
         {}, true, false},
        // Paste leaves rotation, the colour and selection buttons and the pop-up alone.
        {"paste, one tab", TCommandEvent::cePaste, 1,
         {"Copier1", "Enregistrersous1", "fermer", "AperuavantImpression1", "Imprimer1", "SpeedButton6",
          "SpeedButton1", "TrackBar1", "hor", "vert", "zoom", "Image1", "Annuler1", "pdf"},
         {"toutfermer", "CustomItem1"}, true, false},
        // Hand-off: close all even with one tab; save all, rotation, PDF and pop-up kept.
        {"hand-off, one tab", TCommandEvent::ceHandOff, 1,
         {"Copier1", "Enregistrersous1", "fermer", "toutfermer", "AperuavantImpression1", "Imprimer1",
          "SpeedButton6", "SpeedButton1", "TrackBar1", "hor", "vert", "zoom", "Image1", "Annuler1", "SpeedButton9",
          "SpeedButton10", "SpeedButton11"},
         {}, false, false},
        {"save as", TCommandEvent::ceSaveAs, 1,
         {"Copier1", "Enregistrersous1", "AperuavantImpression1", "Imprimer1", "SpeedButton6", "SpeedButton1"}, {},
         false, false},
        {"last tab closed", TCommandEvent::ceLastTabClosed, 0, {}, AllOff, true, true},
        {"close all left none", TCommandEvent::ceCloseAllNone, 0, {}, AllOff, true, true},
        // Clearing the image keeps save all.
        {"clear image", TCommandEvent::ceClearImage, 1, {},
         [] { QStringList l = AllOff; l.removeAll("CustomItem1"); return l; }(), true, true},
    };

    for (const TColumn& column : columns) {
        for (const bool start : {false, true}) {
            auto form = CreateForm();
            for (int i = 0; i < column.Documents; ++i) AddDocument(*form);
            for (const QString& name : Group) SetEnabled(*form, name, start);
            form->TrackBar1->setValue(5000);
            form->SetStatusText(QStringLiteral("status"));

            form->ApplyCommandState(column.Event);

            for (const QString& name : Group) {
                const bool expected = column.On.contains(name) || (!column.Off.contains(name) && start);
                EXPECT_EQ(IsEnabled(*form, name), expected)
                    << column.Name << ", starting " << (start ? "on" : "off") << ": " << name.toStdString();
            }
            EXPECT_EQ(form->TrackBar1->value(), column.TrackBarToZero ? 0 : 5000) << column.Name;
            EXPECT_EQ(form->StatusText().isEmpty(), column.StatusCleared) << column.Name;
            // Commands outside the group never move.
            EXPECT_TRUE(form->Ouvrir1->isEnabled() && form->Coller1->isEnabled()) << column.Name;
        }
    }
}
