// The best-scores file is windows-1252; the tables read from it and written to it are UTF-8.
// Every byte both ways, and what has no byte.
#include <gtest/gtest.h>

#include <string>

#include "Texte1252.h"

using namespace canalisor;

namespace {

// Bytes 0x80 to 0x9F, where windows-1252 differs from Latin-1; the five it leaves unassigned
// stand for the control codes of the same value. Then 0xA0 to 0xFF, as in Latin-1.
const std::string Haut = "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"
                         "\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß"
                         "àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ";

TEST(Encodage, ChaqueOctetDansLesDeuxSens) {
    std::string tous;
    for (int o = 0; o < 256; ++o)
        tous.push_back(static_cast<char>(o));
    const std::string attendu = tous.substr(0, 128) + Haut; // the first half is ASCII, NUL included
    EXPECT_EQ(De1252(tous), attendu);
    EXPECT_EQ(Vers1252(attendu), tous);
}

// What windows-1252 cannot hold becomes one '?' a character; text that is not UTF-8 (never
// given by the windows) one '?' for each byte that starts no character.
TEST(Encodage, CeQueLeFichierNePeutTenirDevientUnPointDInterrogation) {
    const std::pair<std::string, std::string> cas[] = {
        {"Ωmega Ā", "?mega ?"},
        {"😀 Jo", "? Jo"},                  // four bytes, one character
        {"\xef\xbb\xbfLéa", "?L\xe9\x61"}, // a byte order mark is a character like any other
        {"\xe9t\xe9", "?t?"},              // windows-1252 taken for UTF-8
        {"\xe2\x82", "??"},                // a cut sequence
        {"\xc0\xaf", "??"},                // an overlong '/'
        {"\xed\xa0\x80", "???"},           // a surrogate half
        {"\xf4\x90\x80\x80", "????"},      // past U+10FFFF
    };
    for (const auto& [texte, octets] : cas)
        EXPECT_EQ(Vers1252(texte), octets) << texte;
}

} // namespace
