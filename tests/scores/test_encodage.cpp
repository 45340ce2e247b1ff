// The best-scores file is windows-1252; the tables read from it and written to it are UTF-8.
// Every byte both ways, what has no byte, and names that must come back as they went in.
#include <gtest/gtest.h>

#include <string>

#include <QFile>
#include <QTemporaryDir>

#include "FichierScores.h"
#include "Texte1252.h"

using namespace canalisor;
using namespace std::string_literals;

namespace {

// A byte of the file and the same character in UTF-8.
struct Paire {
    unsigned char octet;
    const char* utf8;
};

// The 32 bytes where windows-1252 differs from Latin-1, the five unassigned ones (standing for
// the control codes of the same value) included, then a sample of the rest.
constexpr Paire Paires[] = {
    {0x80, "€"},        {0x81, "\xc2\x81"}, {0x82, "‚"},  {0x83, "ƒ"},        {0x84, "„"},
    {0x85, "…"},        {0x86, "†"},        {0x87, "‡"},  {0x88, "ˆ"},        {0x89, "‰"},
    {0x8A, "Š"},        {0x8B, "‹"},        {0x8C, "Œ"},  {0x8D, "\xc2\x8d"}, {0x8E, "Ž"},
    {0x8F, "\xc2\x8f"}, {0x90, "\xc2\x90"}, {0x91, "‘"},  {0x92, "’"},        {0x93, "“"},
    {0x94, "”"},        {0x95, "•"},        {0x96, "–"},  {0x97, "—"},        {0x98, "˜"},
    {0x99, "™"},        {0x9A, "š"},        {0x9B, "›"},  {0x9C, "œ"},        {0x9D, "\xc2\x9d"},
    {0x9E, "ž"},        {0x9F, "Ÿ"},        {0x00, "\0"}, {0x0A, "\n"},       {0x41, "A"},
    {0x7F, "\x7f"},     {0xA0, "\xc2\xa0"}, {0xA4, "¤"},  {0xA9, "©"},        {0xBF, "¿"},
    {0xC0, "À"},        {0xC7, "Ç"},        {0xD7, "×"},  {0xE9, "é"},        {0xF7, "÷"},
    {0xFF, "ÿ"},
};

// Each pair both ways, and all 256 bytes through UTF-8 and back.
TEST(Encodage, ChaqueOctetDansLesDeuxSens) {
    for (const auto& [octet, utf8] : Paires) {
        const std::string brut(1, static_cast<char>(octet));
        const std::string texte = octet == 0 ? "\0"s : utf8;
        EXPECT_EQ(De1252(brut), texte) << "byte " << int{octet};
        EXPECT_EQ(Vers1252(texte), brut) << "byte " << int{octet};
    }
    std::string tous;
    for (int o = 0; o < 256; ++o)
        tous.push_back(static_cast<char>(o));
    EXPECT_EQ(Vers1252(De1252(tous)), tous);
}

// What windows-1252 cannot hold becomes one '?' a character; text that is not UTF-8 (never
// given by the windows) one '?' for each byte that starts no character.
TEST(Encodage, CeQueLeFichierNePeutTenirDevientUnPointDInterrogation) {
    const std::pair<std::string, std::string> cas[] = {
        {"Zoë€", "Zo\xeb\x80"},
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

// The file's edge: the table read holds UTF-8, the bytes written are windows-1252, and a table
// written then read is the same table, whichever bytes its names hold.
TEST(Encodage, LeFichierEstEnWindows1252EtLaTableEnUtf8) {
    const std::string octets = "L\xe9\x61\r\n900\r\n\x80\x81\x9d\xff\r\n5\r\n"
                               "Zo\xeb\r\n3\r\n\x8c\x9c\r\n2\r\n\x96\r\n1\r\n";
    const TableScores table{
        {{"Léa", "900"}, {"€\xc2\x81\xc2\x9dÿ", "5"}, {"Zoë", "3"}, {"Œœ", "2"}, {"–", "1"}}};
    EXPECT_EQ(LireScores(QByteArray::fromStdString(octets)), table);
    EXPECT_EQ(EcrireScores(table).toStdString(), octets);
    // Every byte but the line ends, in names that fill a line.
    std::string tous;
    for (int o = 0; o < 256; ++o)
        if (o != '\r' && o != '\n')
            tous.push_back(static_cast<char>(o));
    const TableScores pleine{{{De1252(tous), "1"},
                              {De1252(std::string(LongueurLigneMax, '\x80')), "2"},
                              {"", "0"},
                              {"", "0"},
                              {"", "0"}}};
    EXPECT_EQ(LireScores(EcrireScores(pleine)), pleine);
}

// The longest name the name box takes (40 characters), of characters that take up to three
// bytes in UTF-8, through the real file again and again.
TEST(Encodage, UnNomDeLongueurMaximaleResteIntactPartieApresPartie) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("canalisor.txt");
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.close();
    const std::string nom = "Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ!";
    ASSERT_EQ(QString::fromStdString(nom).size(), 40);
    TableScores table{{{nom, "9000"}, {nom + nom, "5"}, {"Jo", "3"}, {"", "0"}, {"", "0"}}};
    FichierScores scores(chemin);
    for (int partie = 0; partie < 5; ++partie) {
        ASSERT_TRUE(scores.Ecrire(table));
        const auto lue = scores.Lire();
        ASSERT_TRUE(lue);
        EXPECT_EQ(*lue, table) << "after " << partie + 1 << " writes";
        table = *lue;
    }
    ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
    EXPECT_EQ(fichier.readLine().size(), 40 + 2) << "a byte a character, then CR LF";
}

} // namespace
