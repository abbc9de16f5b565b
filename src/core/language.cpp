#include "core/language.h"

#include "core/helpers.h"
#include "core/numbers.h"

namespace vistrel {

QString languageKeyName(LangKey key) {
    static const std::array<const char *, kLanguageKeyCount> names = {
        "Caption",     "FontName",      "FontSize",
        "msg1",        "msg2",          "msg3",
        "msg4",        "msg5",          "msg6",
        "msg7",        "mnuFile",       "mnuFileOpen",
        "mnuFileSave", "mnuFileSaveAs", "mnuFilePrint",
        "mnuFileQuit", "mnuOption",     "mnuOptionModelInfo",
        "mnuAbout",    "mnuAboutAbout", "LBL1",
        "LBL2",        "LBL3",          "LBL4",
        "LBL5",        "LBL6",          "LBL7",
        "LBL8",        "LBL9",          "LBL10",
        "LBL11",       "LBL12",         "LBL13",
        "LBL14",       "LBL15",         "LBL16",
        "LBL17",       "LBL18",         "LBL19",
        "LBL20",       "LBL21"};
    return QString::fromLatin1(names[static_cast<std::size_t>(key)]);
}

namespace {

struct OptionalText {
    const char *key;
    const char *english;
};
constexpr std::array<OptionalText, kOptionalKeyCount> kOptionalTexts{{
    {"LBL22", "No printer is set up."},
    {"LBL23", "Installation drawing"},
    {"LBL24", "Side view"},
    {"mnuOptionPlanner", "&Installation planner..."},
    {"mnuFileExportReport", "&Export report..."},
    {"LBL25", "Installation planner"},
    {"LBL26", "Screen &gain"},
    {"LBL27", "&Ambient light (lux)"},
    {"LBL28", "Throw range"},
    {"LBL29", "Throw ratio (picture)"},
    {"LBL30", "Brightness"},
    {"LBL31", "Light output (lumens)"},
    {"LBL32", "Light on the screen"},
    {"LBL33", "Lumens needed for 16 fL"},
    {"LBL34", "Compared with 16 fL"},
    {"LBL35", "Contrast in the room"},
    {"LBL36", "Last row, SMPTE 30°"},
    {"LBL37", "Last row, THX 36°"},
    {"LBL38", "Best seat, THX 40°"},
    {"LBL39", "Pixels blend from"},
    {"LBL40", "unknown"},
    {"LBL41", "Throw chart"},
    {"LBL42", "&Copy"},
    {"LBL43", "E&xport CSV..."},
    {"LBL44", "Installation sheet"},
    {"msg8", "%1: please type a number from 0.1 to 10."},
    {"msg9", "%1: please type a number from 0 to 100000."},
    {"msg10", "Some values in %1 are not valid planner data; the planner takes them as unknown:"},
    {"LBL45", "Replace the model catalogue"},
    {"msg11", "Some values in %1 look wrong:"},
    {"msg12", "Replace the model catalogue with this file all the same?"},
    {"LBL46", "at most %1"},
    {"LBL47", "Seats, from the screen"},
    {"LBL48", "Throw ratio (lens)"},
    {"LBL49", "Pixels blend from: beyond this distance one pixel looks smaller than one minute "
              "of arc, and the eye no longer tells pixels apart."},
    {"LBL50", "Offset 1 and 2: the height between the lens and the near edge of the picture; "
              "lenses that shift give two, one at each end of the shift."},
    {"msg13", "The calculation has changes that are not saved. Save them?"},
    {"LBL51", "Version"},
    {"LBL52", "O&ther"},
    {"LBL53", "Custom..."},
    {"LBL54", "Picture format"},
    {"msg14", "Please type a picture format as W : H or as a ratio from 1 to 4."},
    {"LBL55", "A&namorphic lens"},
    {"msg15", "%1: please type a number from 1 to 2."},
    {"LBL56", "Picture format"},
    {"LBL57", "Panel"},
    {"LBL58", "%1 panel"},
    {"LBL59", "%1 panel, %2 × %3"},
    {"LBL60", "Picture's share of the panel"},
    {"LBL61", "Vistrel project files"},
    {"LBL62", "Calculation files"},
    {"msg16", "A calculation file holds only 4 : 3, 5 : 4 and 16 : 9 without an anamorphic "
              "lens, and older programs would show this picture as 5 : 4. Save it as a Vistrel "
              "project file instead?"},
    {"mnuOptionProjectors", "&Projectors..."},
    {"LBL63", "Projectors"},
    {"LBL64", "M&odels"},
    {"LBL65", "W&hich projectors fit"},
    {"LBL66", "&Name"},
    {"LBL67", "Source"},
    {"LBL68", "own"},
    {"LBL69", "catalogue"},
    {"LBL70", "Throw ratio"},
    {"LBL71", "Offset (% of height)"},
    {"LBL72", "&Add"},
    {"LBL73", "&Duplicate"},
    {"LBL74", "&Edit"},
    {"LBL75", "De&lete"},
    {"LBL76", "&Import..."},
    {"LBL77", "E&xport..."},
    {"LBL78", "Your &own projectors..."},
    {"LBL79", "&All projectors..."},
    {"LBL80", "&Save"},
    {"LBL81", "Catalogue &warnings..."},
    {"LBL82", "Native &resolution"},
    {"LBL83", "pixels"},
    {"LBL84", "&Fixed lens (no TELE)"},
    {"LBL85", "Lens given as"},
    {"LBL86", "Formula"},
    {"LBL87", "distance = a × D + b"},
    {"LBL88", "D: diagonal of"},
    {"LBL89", "Units of D / distance"},
    {"LBL90", "Offset given as"},
    {"LBL91", "Offset N"},
    {"LBL92", "Lens shift"},
    {"LBL93", "Screen sizes"},
    {"LBL94", "Sizes of"},
    {"LBL95", "the panel's shape"},
    {"LBL96", "Light at TELE"},
    {"LBL97", "factor of WIDE"},
    {"LBL98", "lumens"},
    {"LBL99", "Native contrast"},
    {"LBL100", "&Mirrored across the lens axis"},
    {"LBL101", "As the model list shows it; it cannot hold a comma."},
    {"LBL102", "The panel's pixels, width × height: they give the panel's shape."},
    {"LBL103", "Distance over the width of the whole panel's picture."},
    {"LBL104", "As the manual prints it, with the shape and units of its diagonal D."},
    {"LBL105", "Far edge at N % of the picture's height from the lens axis: 100 % puts the near "
               "edge on the axis."},
    {"LBL106",
     "Lowest and highest place of the near edge from the lens axis, in % of the picture's height."},
    {"LBL107",
     "On a ceiling mount the picture hangs below the lens: its near edge is its top edge."},
    {"LBL108", "Smallest and largest diagonal the lens focuses, of a picture of the shape below."},
    {"LBL109", "The light at WIDE, as the data sheet gives it."},
    {"LBL110", "What is left at TELE: a factor of the light at WIDE (0.8), or lumens."},
    {"LBL111", "Full white over full black, N : 1."},
    {"LBL112", "For a negative offset: the picture reaches across the lens axis."},
    {"LBL113", "Distance for a 100-inch %1 picture"},
    {"LBL114", "Warnings"},
    {"msg17", "Please type a number."},
    {"msg18", "Save %1 with these warnings?"},
    {"msg19", "Delete %1 from your own projectors?"},
    {"msg20", "Your own projectors could not be read, so they cannot be changed here:"},
    {"LBL115", "Import projectors"},
    {"LBL116", "Tick the rows that replace your own model of the same name. Nothing is written "
               "before you choose OK."},
    {"LBL117", "Projector tables"},
    {"LBL118", "Room: &from"},
    {"LBL119", "&to"},
    {"LBL120", "Fits"},
    {"LBL121", "Range"},
    {"LBL122", "Why not"},
    {"LBL123", "yes"},
    {"LBL124", "no"},
    {"msg21", "%1: please type a distance of 0 or more, or nothing."},
    {"LBL125", "For a %1 %2 picture"},
    {"LBL126", "Room"},
    {"LBL127", "Screen &bottom edge above the floor"},
    {"LBL128", "Ce&iling height"},
    {"LBL129", "Room &depth, screen wall to back wall"},
    {"LBL130", "Lens axis to &mount plate or table top"},
    {"LBL131", "Pro&jector length behind the lens"},
    {"LBL132", "Seat ro&ws: distance@eyes; …"},
    {"LBL133", "Outermost seat &off centre"},
    {"LBL134", "&Head clearance"},
    {"LBL135", "&Smallest element, % of picture height"},
    {"LBL136", "Lens axis above the floor"},
    {"LBL137", "Ceiling mount drop"},
    {"LBL138", "Table height"},
    {"LBL139", "does not fit"},
    {"LBL140", "%1 to %2"},
    {"LBL141", "Room depth left at %1"},
    {"LBL142", "short by %1"},
    {"LBL143", "Least picture height (DISCAS, basic decisions)"},
    {"LBL144", "The picture is high enough"},
    {"LBL145", "Analytical viewing up to"},
    {"LBL146", "Seat rows"},
    {"LBL147", "Row %1"},
    {"LBL148", "Distance"},
    {"LBL149", "Eyes"},
    {"LBL150", "Riser"},
    {"LBL151", "Up to top"},
    {"LBL152", "Down to bottom"},
    {"LBL153", "Picture width"},
    {"LBL154", "Off axis"},
    {"LBL155", "Of the window above the ceiling"},
    {"LBL156", "Of the window below the floor"},
    {"LBL157", "&Project"},
    {"LBL158", "C&lient"},
    {"LBL159", "&Room name"},
    {"LBL160", "Da&te"},
    {"LBL161", "Prepared b&y"},
    {"LBL162", "Elevation"},
    {"LBL163", "Plan"},
    {"LBL164", "Checks"},
    {"LBL165", "Every check passes."},
    {"LBL166", "Viewing angle %1"},
    {"msg22", "row %1 looks up %2 to the top edge: lower the screen or move the row back"},
    {"msg23", "the projector does not fit between floor and ceiling: its lens axis must be %1 above the floor"},
    {"msg24", "the room is %1 too short for the projector at %2"},
    {"msg25", "the picture's top edge at %1 is above the ceiling at %2"},
    {"msg26", "the picture is %1 high; the farthest row needs at least %2 to read its smallest element: enlarge the picture or bring the row closer"},
    {"msg27", "row %1 is behind the back wall"},
    {"msg28", "%1: please type a number from 0.1 to 100."},
    {"msg29", "%1: please type each row's distance from the screen, with @ and its eye height where it differs, separated by ;"},
    {"msg30", "A calculation file does not keep the room and the title block. Save a Vistrel project file (.vistrel) to keep them."},
    {"LBL167", "Throw and light"},
    {"LBL168", "Light"},
    {"LBL169", "Light so&urce"},
    {"LBL170", "Own targ&et, nits or fL"},
    {"LBL171", "Hal&f-gain angle, degrees"},
    {"LBL172", "new"},
    {"LBL173", "at mid-life"},
    {"LBL174", "at end of life"},
    {"LBL175", "at %1 of its light"},
    {"LBL176", "not set"},
    {"LBL177", "Light targets"},
    {"LBL178", "14 fL / 48 nits (digital cinema, SMPTE ST 431-1)"},
    {"LBL179", "16 fL (SMPTE 196M)"},
    {"LBL180", "108 nits (HDR cinema)"},
    {"LBL181", "300 nits (bright HDR)"},
    {"LBL182", "Own target, %1 nits"},
    {"LBL183", "Target"},
    {"LBL184", "Lumens on the screen"},
    {"LBL185", "Rated lumens at this age"},
    {"LBL186", "The picture"},
    {"LBL187", "Lumens for the room (ANSI/INFOCOMM 3M-2011)"},
    {"LBL188", "Sequential (on/off) contrast; ANSI checkerboard contrast is a different measure."},
    {"LBL189", "Passive viewing"},
    {"LBL190", "Basic decision making"},
    {"LBL191", "Analytical decision making"},
    {"LBL192", "Full-motion video"},
    {"LBL193", "Viewing task"},
    {"LBL194", "Contrast"},
    {"LBL195", "White needed"},
    {"LBL196", "Lumens"},
    {"LBL197", "Reached"},
    {"LBL198", "not reachable with a native contrast of %1 : 1"},
    {"LBL199", "outside the half-gain cone: at most half as bright there"},
    {"LBL200", "inside the half-gain cone"},
    {"LBL201", "%1 off axis, %2"},
    {"msg31", "%1: please type new, mid, end or a factor from 0.1 to 1."},
    {"msg32", "%1: please type nits above 0 (at most 10000), fL followed by fL, or nothing."},
    {"msg33", "%1: please type an angle above 0 and below 90 degrees, or nothing."},
}};

const OptionalText &optionalText(OptionalKey key) {
    return kOptionalTexts[static_cast<std::size_t>(key)];
}

} // namespace

QString optionalKeyName(OptionalKey key) {
    return QString::fromLatin1(optionalText(key).key);
}

QString optionalKeyDefault(OptionalKey key) {
    return QString::fromUtf8(optionalText(key).english);
}

std::array<QString, kOptionalKeyCount> LanguageTexts::defaultOptionalTexts() {
    std::array<QString, kOptionalKeyCount> texts;
    for (int i = 0; i < kOptionalKeyCount; ++i)
        texts[static_cast<std::size_t>(i)] = optionalKeyDefault(static_cast<OptionalKey>(i));
    return texts;
}

std::array<QString, kErrorNameCount> LanguageTexts::defaultErrorNames() {
    std::array<QString, kErrorNameCount> names;
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = QString::fromLatin1(kErrorNames[i].english);
    return names;
}

QString localizedBoxText(const AppError &error, const LanguageTexts &texts) {
    AppError shown = error;
    for (std::size_t i = 0; i < kErrorNames.size(); ++i) {
        const QString english = QString::fromLatin1(kErrorNames[i].english);
        if (kErrorNames[i].number == error.number && english != texts.errorNames[i] &&
            error.description.startsWith(english + u':'))
            shown.description = texts.errorNames[i] + error.description.mid(english.size());
    }
    return shown.boxText();
}

QString labelWithBreaks(const QString &caption) {
    return replaceText(caption, QStringLiteral("<BR>"), QStringLiteral("\r\n"));
}

QString withoutMnemonic(const QString &caption) {
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i >= caption.size())
            break;
        text += caption[i];
    }
    return text;
}

QString messageAbout(const QString &message, const QString &caption) {
    return replaceText(message, QStringLiteral("%1"), withoutMnemonic(caption).simplified());
}

} // namespace vistrel
