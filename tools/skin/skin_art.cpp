#include "skin_art.h"

namespace skintool {

std::vector<NamedBitmap> allBitmaps() {
    std::vector<NamedBitmap> list = {
        {"SKIN", drawSkin()},
        {"TABBAR", drawTabBar()},
        {"PLAYCTR", drawPlayCtr()},
        {"PLAYBT", drawPlayButton(false)},
        {"PAUSEBT", drawPlayButton(true)},
        {"VOLBT", drawVolumeButton(false)},
        {"SLIBT", drawVolumeButton(true)},
    };
    for (const char* name : {"SCRARROWH", "SCRARROWHL", "SCRARROWHR", "SCRARROWV", "SCRARROWVT", "SCRARROWVB",
                             "SCRBACKH", "SCRBACKV", "SCRTHUMBH", "SCRTHUMBV", "SCRGRIPH", "SCRGRIPV"}) {
        list.push_back({name, drawScrollPiece(name)});
    }
    list.push_back({"ctr_Lst", drawListButton()});
    list.push_back({"ctr_Stop", drawStopButton()});
    list.push_back({"tBt_Cls", drawHideButton()});
    return list;
}

} // namespace skintool
