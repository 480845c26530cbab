#include "app/window_texts.h"

#include <cstdio>

#include "app/control_ids.h"
#include "settings/settings_file.h"
#include "store/capacities.h"
#include "store/document_store.h"
#include "store/paper_sizes.h"

namespace velmora {

namespace {

constexpr RouteLabel kDirectRoute = {"【単独変換】", {150, 0, 0}};
constexpr RouteLabel kGhostscriptRoute = {"【GS経由変換】", {0, 150, 0}};

struct Tooltip {
    int command;
    int string_id;
};

constexpr Tooltip kTooltips[] = {
    {IDM_PREVIOUS, IDS_PREVIOUS},       {IDM_NEXT, IDS_NEXT},         {IDM_PAGE_LIST, IDS_PAGE_LIST},
    {IDM_OPEN_BUTTON, IDS_OPEN},        {IDM_SAVE_BUTTON, IDS_SAVE},  {IDM_BACK_TEN, IDS_BACK_TEN},
    {IDM_FORWARD_TEN, IDS_FORWARD_TEN}, {IDM_LAYER_TOOL, IDS_LAYER_TOOL}, {IDM_PEN_CHANGE, IDS_PEN_CHANGE},
};

constexpr HelpText kHelpTexts[] = {
    {IDM_HELP_OPEN, "変換コマンド",
     "変換するPDFを指定して下さい。　このアプリ単独で、又はGhostScriptがインストールされていればGS経由で変換し、表示します。"},
    {IDM_HELP_GHOSTSCRIPT, "変換コマンド",
     "PDF読込後、変換をこのアプリ単独ではなく、GhostScript経由で変換し直します。　GhostScriptのインストールが必要です。"},
    {IDM_HELP_SAVE, "出力コマンド", "今表示している頁を JW_CAD 形式のデータファイルで出力します。"},
    {IDM_HELP_SCALE, "縮尺設定",
     "図面上の２点(端点・交点)を右クリックで指定し、その距離を入力することで図面の縮尺を設定します。「縮尺設定」というコマンドは特に"
     "無く、変換後の画面が表示された時点で、即、２点を指定できます。"},
    {IDM_HELP_LAYERS, "レイヤ整理",
     "１つのレイヤ内に変換された線のうち、指定した線（実線のみ）を別レイヤに移します。「線の長さ」による指定、「連結する線」による指定"
     "が可能。"},
    {IDM_HELP_PENS, "Pen番号(線色)変更",
     "線巾ごと(レイヤごと)に分けられたPen番号(線色)を、指定したPen番号(線色)に変更します(線のみ)。変更後頁切り替え操作でリセットされ"
     "ます。"},
    {IDM_HELP_REPORT, "出力コマンド",
     "通常の変換操作では使用しません。　読み込んだPDFファイル (又はGhostScript による中間ファイル) "
     "のデータ概要をテキストファイルで出力します。"},
};

}  // namespace

bool RouteStatus(ConversionRoute route, RouteLabel* label) {
    if (route == ConversionRoute::kDirect) *label = kDirectRoute;
    if (route == ConversionRoute::kGhostscript) *label = kGhostscriptRoute;
    return route != ConversionRoute::kNone;
}

std::string PageStatusText() {
    const int page = g_store.current_page;
    const bool known = page >= 1 && page < kPageTableSize;
    const int paper = known ? g_store.pages[page].paper_size_index : 0;
    const char* name = (paper >= 0 && paper < kPaperSizeCount) ? PaperNames[paper] : "--";
    const int denominator = known ? g_store.pages[page].scale_denominator : 1;
    char text[256];
    std::snprintf(text, sizeof text, " Page = %d / %d      Paper = %s       Scale = 1 / %d", page, g_store.page_count,
                  name, denominator);
    return text;
}

int TooltipStringId(int command) {
    for (const Tooltip& tooltip : kTooltips) {
        if (tooltip.command == command) return tooltip.string_id;
    }
    return 0;
}

const HelpText* HelpTextFor(int command) {
    for (const HelpText& help : kHelpTexts) {
        if (help.command == command) return &help;
    }
    return nullptr;
}

std::string SettingsSourceText() {
    const SettingsSources& sources = g_settings_sources;
    if (sources.settings_path.empty()) return "設定: 既定値 (" + sources.settings_tried + " なし)";
    std::string text = "設定: " + sources.settings_path;
    if (sources.sxf_path.empty()) text += "  (" + std::string(kSxfFileName) + " なし)";
    return text;
}

}  // namespace velmora
