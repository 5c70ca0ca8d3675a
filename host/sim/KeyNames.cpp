#include "KeyNames.h"

#include <cstdio>

#include "ItemFile.h"

namespace host {

namespace {

struct KeyNameEntry {
    DWORD code;
    const char* name;
};

const KeyNameEntry keyTable[] = {
    {OAPI_KEY_ESCAPE, "ESCAPE"}, {OAPI_KEY_1, "1"},           {OAPI_KEY_2, "2"},
    {OAPI_KEY_3, "3"},           {OAPI_KEY_4, "4"},           {OAPI_KEY_5, "5"},
    {OAPI_KEY_6, "6"},           {OAPI_KEY_7, "7"},           {OAPI_KEY_8, "8"},
    {OAPI_KEY_9, "9"},           {OAPI_KEY_0, "0"},           {OAPI_KEY_MINUS, "MINUS"},
    {OAPI_KEY_EQUALS, "EQUALS"}, {OAPI_KEY_BACK, "BACK"},     {OAPI_KEY_TAB, "TAB"},
    {OAPI_KEY_Q, "Q"},           {OAPI_KEY_W, "W"},           {OAPI_KEY_E, "E"},
    {OAPI_KEY_R, "R"},           {OAPI_KEY_T, "T"},           {OAPI_KEY_Y, "Y"},
    {OAPI_KEY_U, "U"},           {OAPI_KEY_I, "I"},           {OAPI_KEY_O, "O"},
    {OAPI_KEY_P, "P"},           {OAPI_KEY_RETURN, "RETURN"}, {OAPI_KEY_LCONTROL, "LCONTROL"},
    {OAPI_KEY_A, "A"},           {OAPI_KEY_S, "S"},           {OAPI_KEY_D, "D"},
    {OAPI_KEY_F, "F"},           {OAPI_KEY_G, "G"},           {OAPI_KEY_H, "H"},
    {OAPI_KEY_J, "J"},           {OAPI_KEY_K, "K"},           {OAPI_KEY_L, "L"},
    {OAPI_KEY_LSHIFT, "LSHIFT"}, {OAPI_KEY_Z, "Z"},           {OAPI_KEY_X, "X"},
    {OAPI_KEY_C, "C"},           {OAPI_KEY_V, "V"},           {OAPI_KEY_B, "B"},
    {OAPI_KEY_N, "N"},           {OAPI_KEY_M, "M"},           {OAPI_KEY_RSHIFT, "RSHIFT"},
    {OAPI_KEY_SPACE, "SPACE"},   {OAPI_KEY_F1, "F1"},         {OAPI_KEY_F2, "F2"},
    {OAPI_KEY_F3, "F3"},         {OAPI_KEY_F4, "F4"},         {OAPI_KEY_F5, "F5"},
    {OAPI_KEY_F6, "F6"},         {OAPI_KEY_F7, "F7"},         {OAPI_KEY_F8, "F8"},
    {OAPI_KEY_F9, "F9"},         {OAPI_KEY_F10, "F10"},       {OAPI_KEY_RCONTROL, "RCONTROL"},
};

}  // namespace

std::string keyName(DWORD key) {
    for (const auto& entry : keyTable)
        if (entry.code == key)
            return entry.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%02X", static_cast<unsigned>(key));
    return buf;
}

bool keyCode(const std::string& name, DWORD& key) {
    for (const auto& entry : keyTable)
        if (equalsNoCase(name, entry.name)) {
            key = entry.code;
            return true;
        }
    return false;
}

}  // namespace host
