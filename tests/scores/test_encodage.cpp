// The best-scores file is windows-1252; the tables read from it and written to it are UTF-8.
// Every byte both ways, what has no byte, and names that must come back as they went in.
#include <gtest/gtest.h>

#include <string>

#include "FichierScores.h"
#include "Texte1252.h"

using namespace canalisor;
using namespace std::string_literals;

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

// The file's edge: the table read holds UTF-8 whatever the bytes look like (UTF-8 too), the
// bytes written are windows-1252, and a table written then read is the same table, with the
// longest name the name box takes (40 characters, up to three bytes each in UTF-8) and lines
// of 4096 bytes.
TEST(Encodage, LeFichierEstEnWindows1252EtLaTableEnUtf8) {
    const std::string octets = "\xef\xbb\xbfL\xc3\xa9\x61\r\n900\r\n\x80\x81\x9d\xff\r\n5\r\n"
                               "Zo\xeb\r\n3\r\n\x8c\x9c\r\n2\r\n\x96\r\n1\r\n";
    const TableScores table{
        {{"ï»¿LÃ©a", "900"}, {"€\u0081\u009Dÿ", "5"}, {"Zoë", "3"}, {"Œœ", "2"}, {"–", "1"}}};
    EXPECT_EQ(LireScores(QByteArray::fromStdString(octets)), table);
    EXPECT_EQ(EcrireScores(table).toStdString(), octets);
    const std::string nom = "Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ!";
    std::string tous, euros; // every character but the line ends; a line of 4096 euro signs
    for (int o = 0; o < 128; ++o)
        tous += o == '\r' || o == '\n' ? "" : std::string(1, static_cast<char>(o));
    for (int i = 0; i < 4096; ++i)
        euros += "€";
    const TableScores pleine{{{nom, "9000"}, {nom + nom, "5"}, {tous + Haut, "2"}, {euros, "1"}, {"", "0"}}};
    EXPECT_EQ(LireScores(EcrireScores(pleine)), pleine);
    EXPECT_EQ(EcrireScores(pleine).indexOf("\r\n"), 40) << "a byte a character";
}

} // namespace
