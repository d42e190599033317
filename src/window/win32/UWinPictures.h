// The small pictures of the window's buttons and tabs, drawn from a few
// shapes at the size the screen's resolution asks for.
#pragma once

#include <map>
#include <utility>

#include "window/win32/UWinApi.h"

namespace velmora {

enum class TPicture { Add, Remove, Convert, Stop, About, Exit, Palette, Open, Save, Update, FileList, Names, PageStyle, Settings };

// Keeps every picture it has drawn until it goes.
class TWinPictures {
public:
    TWinPictures() = default;
    ~TWinPictures();
    TWinPictures(const TWinPictures&) = delete;
    TWinPictures& operator=(const TWinPictures&) = delete;

    // The picture as an icon of size x size pixels.
    HICON Icon(TPicture picture, int size);
    // The same icon alone in an image list, as a button takes a picture it places.
    HIMAGELIST List(TPicture picture, int size);

private:
    std::map<std::pair<TPicture, int>, HICON> FIcons;
    std::map<std::pair<TPicture, int>, HIMAGELIST> FLists;
};

} // namespace velmora
