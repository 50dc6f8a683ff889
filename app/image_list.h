#pragma once
// ImageList1: the 27 pictures (16 × 16) that menus, page tabs and document tabs refer to by
// index. They come from the desktop's icon theme, with the style's standard icons as fallback.

#include <QIcon>

#include <array>

class TImageList {
public:
    static constexpr int Count = 27;
    TImageList();
    const QIcon& Icon(int index) const { return FIcons.at(static_cast<std::size_t>(index)); }

private:
    std::array<QIcon, Count> FIcons;
};
