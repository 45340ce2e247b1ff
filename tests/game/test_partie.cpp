#include <gtest/gtest.h>

#include <limits>

#include "Joueur.h"
#include "MondeScripte.h"

using namespace canalisor;
using canalisor::test::JoueurScripte;
using canalisor::test::Monde;
using canalisor::test::TableExemple;

namespace {

// Starts a game whose level-1 departure sits at cell 0 (nothing laid right of it, so the first
// flow step overflows unless the test lays a pipe).
void NouvellePartieConnue(Monde& m, std::initializer_list<int> tuyaux = {2, 2, 2}) {
    for (int t : tuyaux)
        m.hasard.AjouterTuyau(t);
    for (int c : {0, 20, 40, 41, 42})
        m.hasard.AjouterCellule(c);
    m.jeu.menuJouer_Click();
}

void Tics(Monde& m, int n) {
    for (int k = 0; k < n; ++k)
        m.jeu.Timer1_Timer();
}

// Runs ticks until the running level's first flow step ends it with a lost try.
void PerdreUnEssai(Monde& m) {
    while (m.jeu.Affichage().LabelTemps != "1")
        m.jeu.Timer1_Timer();
    m.jeu.Timer1_Timer();
}

}  // namespace

TEST(Partie, StartUpShowsTheBestScoreAndDifficultyTwo) {
    Monde m;
    m.palmares.table = {{{"Hugo", "300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {"L\xe9" "a", "900"}}};
    ASSERT_TRUE(m.jeu.Form_Load("/jeu/"));
    const Ecran& a = m.jeu.Affichage();
    EXPECT_EQ(a.LabelRecord, "1500");
    EXPECT_EQ(a.InfoBulleRecord, "Marie");
    EXPECT_EQ(a.LabelDiff, "2");
    EXPECT_EQ(a.DifficulteCochee, 2);
    EXPECT_EQ(m.jeu.Etat().Delai, 60);
    EXPECT_TRUE(a.LabelNiveau.empty() && a.LabelTemps.empty() && a.LabelScore.empty() && a.LabelEssais.empty());
    EXPECT_FALSE(a.PauseActif || a.MaxiActif || a.Timer1Actif);
    EXPECT_TRUE(a.MenuDifficulteActif);
    EXPECT_EQ(a.BlocSuivant[0], "");
    EXPECT_FALSE(m.jeu.Cellules()[0].Active);
    m.jeu.Grille_Click(0);  // the board takes no clicks before the first level
    EXPECT_EQ(m.jeu.Cellules()[0].Tag, Vide);
    EXPECT_TRUE(m.dialogues.messages.empty());
}

TEST(Partie, StartUpWithoutTheFileSaysSoOnceAndEnds) {
    Monde m;
    m.palmares.table.reset();
    m.dialogues.messages.clear();
    EXPECT_FALSE(m.jeu.Form_Load("/jeu/"));
    ASSERT_EQ(m.dialogues.messages.size(), 1u);
    EXPECT_EQ(m.dialogues.messages[0].texte,
              "Veuillez cr\xc3\xa9" "er un fichier canalisor.txt \xc3\xa0 la racine du r\xc3\xa9pertoire du jeu.");
    EXPECT_EQ(m.dialogues.messages[0].icone, Icone::Critique);
}

TEST(Partie, DifficultyTableAndMenu) {
    struct Cas {
        int d, delai, cadence, auto_, max;
    };
    for (const Cas& c : {Cas{1, 80, 10, 1, 2}, Cas{2, 60, 10, 1, 2}, Cas{3, 40, 5, 1, 3}}) {
        Monde m;
        m.jeu.ChoisirDifficulte(c.d);
        const EtatJeu& e = m.jeu.Etat();
        EXPECT_EQ(m.jeu.Affichage().LabelDiff, std::to_string(c.d));
        EXPECT_EQ(m.jeu.Affichage().DifficulteCochee, c.d);
        EXPECT_EQ((std::array<int, 4>{e.Delai, e.Cadence, e.PointsAuto, e.PointsMax}),
                  (std::array<int, 4>{c.delai, c.cadence, c.auto_, c.max}));
        NouvellePartieConnue(m);
        EXPECT_EQ(m.jeu.Affichage().LabelTemps, std::to_string(c.delai));
        // Locked while a game runs, free again after "Arrêter la partie".
        m.jeu.ChoisirDifficulte(c.d == 3 ? 1 : 3);
        EXPECT_EQ(m.jeu.Etat().Difficulte, c.d);
        m.jeu.menuArreter_Click();
        m.jeu.ChoisirDifficulte(c.d == 3 ? 1 : 3);
        EXPECT_EQ(m.jeu.Affichage().DifficulteCochee, c.d == 3 ? 1 : 3);
    }
}

TEST(Partie, NewGameDrawsThePipesBeforeTheLayout) {
    Monde m;
    m.jeu.ChoisirDifficulte(1);
    NouvellePartieConnue(m, {5, 8, 3});
    const Ecran& a = m.jeu.Affichage();
    EXPECT_EQ(a.BlocSuivant, (std::array<std::string, 3>{"5.bmp", "8.bmp", "3.bmp"}));
    EXPECT_EQ(m.jeu.Etat()[Couleur::Bleu].Depart, 0);
    EXPECT_EQ(a.LabelNiveau, "1");
    EXPECT_EQ(a.LabelEssais, "2");
    EXPECT_EQ(a.LabelScore, "0");
    EXPECT_EQ(a.LabelTemps, "80");
    EXPECT_FALSE(a.MenuDifficulteActif);
    EXPECT_TRUE(a.Timer1Actif);
}

TEST(Partie, ClicksLayThePipeInHandWhereTheCellTakesIt) {
    Monde m;
    NouvellePartieConnue(m, {5, 8, 3});
    m.hasard.AjouterTuyau(4);
    m.jeu.Grille_Click(1);
    EXPECT_EQ(m.jeu.Cellules()[1].Tag, 5);
    EXPECT_EQ(m.jeu.Cellules()[1].Image, "5.bmp");
    EXPECT_EQ(m.jeu.Affichage().BlocSuivant, (std::array<std::string, 3>{"8.bmp", "3.bmp", "4.bmp"}));
    m.hasard.AjouterTuyau(4);
    m.jeu.Grille_Click(1);  // an unfilled pipe is replaced
    EXPECT_EQ(m.jeu.Cellules()[1].Tag, 8);
    for (int ancree : {0, 20, 40}) {  // departure, arrival, obstacle
        m.jeu.Grille_Click(ancree);
        EXPECT_EQ(m.jeu.Etat().Tuyau1, 3);
    }
    m.jeu.Cellules()[1].DataField = "Hb";
    m.jeu.Grille_Click(1);
    EXPECT_EQ(m.jeu.Etat().Tuyau1, 3);
    m.jeu.Pause_Click();
    m.jeu.Grille_Click(2);
    EXPECT_EQ(m.jeu.Cellules()[2].Tag, Vide);
    EXPECT_EQ(m.hasard.EnAttente(), 0u);
}

TEST(Partie, TimelineOfALevelAtEachDifficulty) {
    for (int d = 1; d <= 3; ++d) {
        Monde m(static_cast<unsigned>(d));
        m.jeu.ChoisirDifficulte(d);
        m.jeu.menuJouer_Click();
        JoueurScripte joueur(m.jeu);
        ASSERT_TRUE(joueur.Planifier()) << "seed " << d;
        joueur.Poser();
        const int delai = m.jeu.Etat().Delai;
        m.jeu.Timer1_Timer();
        EXPECT_EQ(m.jeu.Affichage().LabelTemps, std::to_string(delai - 1));
        Tics(m, delai - 2);
        EXPECT_EQ(m.jeu.Affichage().LabelTemps, "1");
        EXPECT_EQ(m.jeu.Etat().Score, 0);
        m.jeu.Timer1_Timer();  // the delay's last tick is the first flow step
        EXPECT_EQ(m.jeu.Etat().Score, 1);
        EXPECT_EQ(m.jeu.Affichage().LabelTemps, std::to_string(m.jeu.Etat().Cadence));
        EXPECT_TRUE(m.jeu.Affichage().Timer1Actif);
        Tics(m, m.jeu.Etat().Cadence);
        EXPECT_EQ(m.jeu.Etat().Score, 2);
        EXPECT_GE(m.horloge.demarrages, 3);
    }
}

TEST(Partie, PauseAndValvesWideOpen) {
    Monde m(5);
    m.jeu.menuJouer_Click();
    JoueurScripte joueur(m.jeu);
    ASSERT_TRUE(joueur.Planifier());
    joueur.Poser();
    Tics(m, 23);
    EXPECT_EQ(m.jeu.Affichage().LabelTemps, "37");
    m.jeu.Pause_Click();
    EXPECT_EQ(m.jeu.Affichage().PauseLegende, "Retour");
    EXPECT_FALSE(m.jeu.Affichage().MaxiActif);
    EXPECT_FALSE(m.horloge.enMarche);
    m.jeu.Maxi_Click();  // disabled while paused
    EXPECT_FALSE(m.jeu.Etat().VannesMax);
    m.jeu.Pause_Click();
    EXPECT_TRUE(m.jeu.Affichage().MaxiActif);
    m.jeu.Timer1_Timer();
    EXPECT_EQ(m.jeu.Affichage().LabelTemps, "36");
    Tics(m, 28);
    EXPECT_EQ(m.jeu.Affichage().LabelTemps, "8");
    m.jeu.Maxi_Click();
    EXPECT_EQ(m.jeu.Affichage().LabelTemps, "1");
    EXPECT_FALSE(m.jeu.Affichage().PauseActif);
    EXPECT_FALSE(m.jeu.Affichage().MaxiActif);
    for (int k = 1; k <= 3; ++k) {
        m.jeu.Timer1_Timer();
        EXPECT_EQ(m.jeu.Etat().Score, 2 * k);  // every tick a flow step worth PointsMax
        EXPECT_EQ(m.jeu.Affichage().LabelTemps, "1");
    }
}

TEST(Partie, StopDuringAPauseLeavesTheBoardAndFreesTheDifficulty) {
    Monde m;
    NouvellePartieConnue(m);
    m.jeu.Pause_Click();
    const Grille avant = m.jeu.Cellules();
    m.jeu.menuArreter_Click();
    const Ecran& a = m.jeu.Affichage();
    EXPECT_EQ(a.PauseLegende, "Pause");
    EXPECT_FALSE(a.PauseActif || a.MaxiActif || a.Timer1Actif);
    EXPECT_TRUE(a.MenuDifficulteActif);
    for (std::size_t i = 0; i < avant.size(); ++i)
        EXPECT_EQ(m.jeu.Cellules()[i].Tag, avant[i].Tag);
    m.jeu.Timer1_Timer();  // a stopped clock sends no ticks
    EXPECT_EQ(a.LabelTemps, "60");
}

TEST(Partie, LevelFifteenWrapsToLevelOneOneDifficultyHigher) {
    struct Cas {
        int avant, apres;
        const char* temps;
    };
    for (const Cas& c : {Cas{1, 2, "60"}, Cas{3, 3, "40"}}) {
        Monde m(11);
        m.jeu.ChoisirDifficulte(c.avant);
        m.jeu.menuJouer_Click();
        m.jeu.Etat().Niveau = 15;
        m.jeu.Etat().Score = 500;
        m.jeu.NouveauNiveau();
        for (Couleur couleur : Couleurs)
            m.jeu.Etat()[couleur].Arrive = true;
        m.jeu.Maxi_Click();
        m.jeu.Timer1_Timer();
        ASSERT_EQ(m.dialogues.messages.size(), 1u);
        EXPECT_EQ(m.dialogues.messages[0].texte, "F\xc3\xa9licitations! Vous passez au niveau suivant.");
        EXPECT_EQ(m.dialogues.messages[0].icone, Icone::Aucune);
        const Ecran& a = m.jeu.Affichage();
        EXPECT_EQ(m.jeu.Etat().Score, 1600);
        EXPECT_EQ(a.LabelScore, "1600");
        EXPECT_EQ(a.LabelNiveau, "1");
        EXPECT_EQ(a.LabelEssais, "3");
        EXPECT_EQ(a.LabelDiff, std::to_string(c.apres));
        EXPECT_EQ(a.DifficulteCochee, c.apres);
        EXPECT_EQ(a.LabelTemps, c.temps);
        EXPECT_TRUE(a.Timer1Actif);
    }
}

TEST(Partie, ScoreSaturatesInsteadOfWrapping) {
    Monde m(3);
    m.jeu.menuJouer_Click();
    m.jeu.Etat().Score = std::numeric_limits<std::int32_t>::max() - 50;
    m.jeu.Etat()[Couleur::Bleu].Arrive = true;
    m.jeu.Maxi_Click();
    m.jeu.Timer1_Timer();
    EXPECT_EQ(m.jeu.Etat().Score, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(m.jeu.Affichage().LabelScore, "2147483647");
}

TEST(Partie, ThreeLostTriesEndTheGameAndRecordTheScore) {
    Monde m;
    NouvellePartieConnue(m);
    for (int essai = 0; essai < 2; ++essai) {
        for (int c : {0, 20, 40, 41, 42})  // the same level laid again
            m.hasard.AjouterCellule(c);
        PerdreUnEssai(m);
        EXPECT_EQ(m.jeu.Affichage().LabelNiveau, "1");
    }
    EXPECT_EQ(m.jeu.Affichage().LabelEssais, "0");
    m.jeu.Etat().Score = 999;
    m.dialogues.reponses = {"", "", "Jules"};  // empty or cancelled: asked again
    PerdreUnEssai(m);
    ASSERT_EQ(m.dialogues.messages.size(), 3u);
    for (const auto& boite : m.dialogues.messages) {
        EXPECT_EQ(boite.texte, "Dommage! Vous avez perdu.");
        EXPECT_EQ(boite.icone, Icone::Critique);
    }
    EXPECT_EQ(m.dialogues.invites.size(), 3u);
    EXPECT_EQ(m.dialogues.invites[0], "Bravo, vous avez battu le record!\nQuel est votre nom ?");
    const Ecran& a = m.jeu.Affichage();
    EXPECT_EQ(a.LabelEssais, "0");
    EXPECT_EQ(m.jeu.Etat().Essais, -1);
    EXPECT_FALSE(a.Timer1Actif);
    EXPECT_FALSE(a.PauseActif || a.MaxiActif);  // a finished game cannot be resumed
    EXPECT_EQ(a.LabelRecord, "1500");
    const TableScores attendu{
        {{"Marie", "1500"}, {"Paul", "1200"}, {"Jules", "1000"}, {"L\xe9" "a", "900"}, {"Hugo", "300"}}};
    EXPECT_EQ(m.palmares.table, attendu);
}

TEST(Partie, GameOverEntersTheScoreAtItsPlace) {
    struct Cas {
        std::int32_t score;
        bool ecrit;
        int place;
        const char* record;
    };
    for (const Cas& c : {Cas{0, false, -1, "1500"}, Cas{1, true, 4, "1500"}, Cas{1200, true, 2, "1500"},
                         Cas{1500, true, 1, "1500"}, Cas{1501, true, 0, "1501"}}) {
        Monde m;
        NouvellePartieConnue(m);
        m.jeu.Etat().Essais = 0;
        m.jeu.Etat().Score = c.score - 1;  // the departure's cell adds one
        m.dialogues.reponses = {" Zo\xe9\r\n"};  // a line end cannot reach the file
        PerdreUnEssai(m);
        SCOPED_TRACE(c.score);
        EXPECT_EQ(m.palmares.ecritures, c.ecrit ? 1 : 0);
        EXPECT_EQ(m.dialogues.invites.size(), c.ecrit ? 1u : 0u);
        if (c.place >= 0) {
            EXPECT_EQ(m.palmares.table->at(static_cast<std::size_t>(c.place)),
                      (EntreeScore{" Zo\xe9  ", std::to_string(c.score)}));
        } else {
            EXPECT_EQ(m.palmares.table, TableExemple());
        }
        EXPECT_EQ(m.jeu.Affichage().LabelRecord, c.record);
    }
}

TEST(Partie, AScoreThatCannotBeRecordedIsReported) {
    for (bool fichierParti : {false, true}) {
        Monde m;
        NouvellePartieConnue(m);
        m.jeu.Etat().Essais = 0;
        m.jeu.Etat().Score = 2000;
        m.palmares.ecritureEchoue = true;
        if (fichierParti)
            m.palmares.table.reset();
        m.dialogues.reponses = {"Jules"};
        PerdreUnEssai(m);
        ASSERT_EQ(m.dialogues.messages.size(), 2u);
        EXPECT_EQ(m.dialogues.messages[1].icone, Icone::Critique);
        EXPECT_NE(m.dialogues.messages[1].texte.find("pas pu \xc3\xaatre enregistr\xc3\xa9"), std::string::npos);
        EXPECT_FALSE(m.jeu.Affichage().Timer1Actif);
        if (fichierParti)
            EXPECT_FALSE(m.palmares.table.has_value());
        else
            EXPECT_EQ(m.palmares.table, TableExemple());
    }
}

TEST(Partie, AScriptedPlayerSolvesLevelsOneAndTwo) {
    const unsigned graine = 424242;
    Monde m(graine);
    m.jeu.menuJouer_Click();
    JoueurScripte joueur(m.jeu);
    int niveaux = 0;
    while (m.jeu.Etat().Niveau < 3 && m.jeu.Etat().Essais >= 0 && niveaux < 10) {
        joueur.JouerNiveau();
        ++niveaux;
    }
    EXPECT_EQ(m.jeu.Etat().Niveau, 3) << "seed " << graine;
    EXPECT_EQ(m.jeu.Etat().Essais, 2) << "seed " << graine;  // no try lost on the way
    EXPECT_GT(m.jeu.Etat().Score, 200);
    EXPECT_EQ(m.dialogues.messages.size(), 2u);
}
