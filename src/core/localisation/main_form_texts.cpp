#include "localisation/main_form_texts.h"

namespace zav {

namespace {
// clang-format off
const TMainFormText Table[] = {
    {2, "mmFile"},            {3, "mmSetts"},          {4, "mmNastr"},
    {5, "mmInfo"},            {6, "rgrUnits"},         {7, "rgrUnits", 0},
    {8, "rgrUnits", 1},       {9, "lblTrackScale"},    {10, "lblSteps"},
    {11, "btnScaleChange"},   {12, "rgrDirect"},       {13, "grbSteps"},
    {14, "StTStepsNum"},      {15, "chbStepsConst"},   {16, "grbSpeed"},
    {20, "rgrDirect", 0},     {21, "rgrDirect", 1},    {22, "grbAccel"},
    {23, "rbtnAccel"},        {23, "lblTrackAccel"},   {24, "rbtnNonAccel"},
    {25, "btnLoad"},          {26, "btnStop"},         {27, "rgrSingl_Mult", 0},
    {28, "rgrSingl_Mult", 1}, {29, "btnOpenPort"},     {30, "btnClosePort"},
    {31, "btnRunTR"},         {32, "btnAllClear"},     {33, "btnDelRaw"},
    {34, "chbDirectControl"}, {35, "lblLoading"},      {36, "lblResponse"},
    {40, "btnStart"},         {41, "btnPusk"},         {42, "StringGridSend", 2},
    {43, "mmFileOpen"},       {44, "mmFileSave"},      {45, "mmSettsPortName"},
    {46, "mmSettsProp"},      {47, "mmNastrError"},    {48, "mmNastrLogs"},
    {49, "mmLang"},           {50, "mmVers"},          {51, "mmReadCh"},
    {55, "GrBoxTracking"},    {56, "lblTrackSpeed"},   {57, "btnTrackApply"},
};
// clang-format on
} // namespace

std::span<const TMainFormText> MainFormTexts() {
    return Table;
}

} // namespace zav
