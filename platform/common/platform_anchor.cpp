// Keeps the platform library non-empty while its layers are being added.
namespace numerak_platform_anchor { int Anchor = 0; }
