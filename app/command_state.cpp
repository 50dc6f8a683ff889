#include "app/command_state.h"

namespace {
using C = TCommandCell;
constexpr C K = C::Keep, on = C::On, off = C::Off, two = C::TwoOrMore, on0 = C::OnZero, off0 = C::OffZero;

// Columns: open, scan, paste, hand-off, save as, last tab closed, close all left none, clear image.
constexpr std::array<TCommandRow, 22> Table{{
    {"Copier1",               {on,  on,  on,  on,  on, off,  off,  off}},
    {"Enregistrersous1",      {on,  on,  on,  on,  on, off,  off,  off}},
    {"fermer",                {on,  on,  on,  on,  K,  off,  off,  off}},
    {"toutfermer",            {two, two, two, on,  K,  off,  off,  off}},
    {"CustomItem1",           {two, two, two, K,   K,  off,  off,  K}},
    {"AperuavantImpression1", {on,  on,  on,  on,  on, off,  off,  off}},
    {"Imprimer1",             {on,  on,  on,  on,  on, off,  off,  off}},
    {"SpeedButton6",          {on,  on,  on,  on,  on, off,  off,  off}},
    {"SpeedButton1",          {on,  on,  on,  on,  on, off,  off,  off}},
    {"TrackBar1",             {on0, on0, on0, on,  K,  off0, off0, off0}},
    {"retour45",              {on,  on,  K,   K,   K,  off,  off,  off}},
    {"hor",                   {on,  on,  on,  on,  K,  off,  off,  off}},
    {"vert",                  {on,  on,  on,  on,  K,  off,  off,  off}},
    {"zoom",                  {on,  on,  on,  on,  K,  off,  off,  off}},
    {"Image1",                {on,  on,  on,  on,  K,  off,  off,  off}},
    {"Annuler1",              {on,  on,  on,  on,  K,  off,  off,  off}},
    {"SpeedButton9",          {on,  on,  K,   on,  K,  off,  off,  off}},
    {"SpeedButton10",         {on,  on,  K,   on,  K,  off,  off,  off}},
    {"SpeedButton11",         {on,  on,  K,   on,  K,  off,  off,  off}},
    {"pdf",                   {on,  on,  on,  K,   K,  off,  off,  off}},
    {"PopupMenu1",            {on,  on,  K,   K,   K,  off,  off,  off}},
    {"StatusBar1",            {K,   K,   K,   K,   K,  C::Clear, C::Clear, C::Clear}},
}};
}  // namespace

const std::array<TCommandRow, 22>& CommandTable()
{
    return Table;
}
