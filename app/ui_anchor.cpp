namespace numerak_ui_anchor { int Anchor = 0; }
