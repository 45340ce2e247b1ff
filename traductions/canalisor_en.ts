<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="fr">
<context>
    <name>Accessibilite</name>
    <message>
        <source>, canal horizontal rempli de %1</source>
        <translation>, horizontal channel filled with %1</translation>
    </message>
    <message>
        <source>, canal vertical rempli de %1</source>
        <translation>, vertical channel filled with %1</translation>
    </message>
    <message>
        <source>, rempli de %1</source>
        <translation>, filled with %1</translation>
    </message>
    <message>
        <source>case vide</source>
        <translation>empty cell</translation>
    </message>
    <message>
        <source>obstacle</source>
        <translation>obstacle</translation>
    </message>
    <message>
        <source>tuyau horizontal</source>
        <translation>horizontal pipe</translation>
    </message>
    <message>
        <source>tuyau vertical</source>
        <translation>vertical pipe</translation>
    </message>
    <message>
        <source>coude droite-bas</source>
        <translation>right-down bend</translation>
    </message>
    <message>
        <source>coude gauche-bas</source>
        <translation>left-down bend</translation>
    </message>
    <message>
        <source>coude gauche-haut</source>
        <translation>left-up bend</translation>
    </message>
    <message>
        <source>coude droite-haut</source>
        <translation>right-up bend</translation>
    </message>
    <message>
        <source>croisement</source>
        <translation>crossing</translation>
    </message>
    <message>
        <source>départ du liquide %1</source>
        <translation>source of the %1 liquid</translation>
    </message>
    <message>
        <source>arrivée du liquide %1</source>
        <translation>outlet of the %1 liquid</translation>
    </message>
    <message>
        <source>porte du liquide %1</source>
        <translation>gate of the %1 liquid</translation>
    </message>
    <message>
        <source>pièce %1</source>
        <translation>piece %1</translation>
    </message>
    <message>
        <source>Ligne %1, colonne %2 : %3</source>
        <translation>Row %1, column %2: %3</translation>
    </message>
    <message>
        <source>Tuyau en main</source>
        <translation>Pipe in hand</translation>
    </message>
    <message>
        <source>Tuyau suivant</source>
        <translation>Next pipe</translation>
    </message>
    <message>
        <source>Tuyau d&apos;après</source>
        <translation>Pipe after next</translation>
    </message>
    <message>
        <source>%1 : %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>aucun</source>
        <translation>none</translation>
    </message>
    <message>
        <source>bleu</source>
        <translation>blue</translation>
    </message>
    <message>
        <source>rouge</source>
        <translation>red</translation>
    </message>
    <message>
        <source>vert</source>
        <translation>green</translation>
    </message>
    <message>
        <source>jaune</source>
        <translation>yellow</translation>
    </message>
</context>
<context>
    <name>EmplacementScores</name>
    <message>
        <source>accès refusé</source>
        <translation>access denied</translation>
    </message>
    <message>
        <source>plus de place sur le disque</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>disque en lecture seule</source>
        <translation>read-only disk</translation>
    </message>
    <message>
        <source>un fichier occupe la place d&apos;un dossier</source>
        <translation>a file stands where a folder should be</translation>
    </message>
    <message>
        <source>un autre élément porte déjà ce nom</source>
        <translation>something else already has that name</translation>
    </message>
    <message>
        <source>trop de liens symboliques</source>
        <translation>too many symbolic links</translation>
    </message>
    <message>
        <source>chemin trop long</source>
        <translation>path too long</translation>
    </message>
    <message>
        <source>dossier introuvable</source>
        <translation>folder not found</translation>
    </message>
    <message>
        <source>erreur du système n° %1</source>
        <translation>system error %1</translation>
    </message>
    <message>
        <source>Aucun dossier personnel où garder vos meilleurs scores : ils seront lus dans %1, où aucun score ne sera enregistré.</source>
        <translation>No personal folder to keep your best scores in: they will be read from %1, where no score will be recorded.</translation>
    </message>
    <message>
        <source>un lien symbolique qui ne mène à aucun fichier porte ce nom</source>
        <translation>a symbolic link that leads to no file has that name</translation>
    </message>
    <message>
        <source>Impossible de créer votre fichier des meilleurs scores %1 (%2). Ils seront lus dans %3, où aucun score ne sera enregistré.</source>
        <translation>Cannot create your best-scores file %1 (%2). They will be read from %3, where no score will be recorded.</translation>
    </message>
</context>
<context>
    <name>Imagier</name>
    <message>
        <source>canalisor : impossible de charger l&apos;image %1 (%2) ; ses cases montrent le code de la pièce à la place</source>
        <translation>canalisor: cannot load the picture %1 (%2); its cells show the piece code instead</translation>
    </message>
    <message>
        <source>absente</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>pas un fichier ordinaire</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>pas une image</source>
        <translation>not a picture</translation>
    </message>
    <message>
        <source>%1x%2 pixels, plus que %3x%3</source>
        <translation>%1x%2 pixels, larger than %3x%3</translation>
    </message>
    <message>
        <source>tronquée</source>
        <translation>truncated</translation>
    </message>
</context>
<context>
    <name>Jeu</name>
    <message>
        <source>Veuillez créer un fichier canalisor.txt à la racine du répertoire du jeu.</source>
        <translation>Please create a canalisor.txt file in the game&apos;s folder.</translation>
    </message>
    <message>
        <source>Félicitations! Vous passez au niveau suivant.</source>
        <translation>Congratulations! You move on to the next level.</translation>
    </message>
    <message>
        <source>Dommage! Vous avez perdu.</source>
        <translation>Too bad! You lost.</translation>
    </message>
    <message>
        <source>Bravo, vous avez battu le record!
Quel est votre nom ?</source>
        <translation>Well done, you beat the record!
What is your name?</translation>
    </message>
    <message>
        <source>Votre score n&apos;a pas pu être enregistré : le fichier canalisor.txt est introuvable ou illisible.</source>
        <translation>Your score could not be saved: the file canalisor.txt is missing or unreadable.</translation>
    </message>
    <message>
        <source>Votre score n&apos;a pas pu être enregistré : le fichier canalisor.txt ne peut pas être écrit.</source>
        <translation>Your score could not be saved: the file canalisor.txt cannot be written.</translation>
    </message>
    <message>
        <source>Impossible de trouver le dossier du jeu.</source>
        <translation>Cannot find the game&apos;s folder.</translation>
    </message>
</context>
<context>
    <name>LigneDeCommande</name>
    <message>
        <source>Utilisation : canalisor [OPTION]...
Jeu de tuyaux : conduisez les liquides jusqu&apos;à leur arrivée avant qu&apos;ils ne débordent.

  -h, --help       affiche cette aide et quitte
  -v, --version    affiche la version et quitte

Les options de Qt sont acceptées aussi, entre autres :
  -platform NOM    le greffon d&apos;affichage : xcb, wayland, offscreen...
  -style NOM       le style des fenêtres : Fusion, Windows...
  -display ÉCRAN   l&apos;écran X11 où ouvrir la fenêtre, par exemple :0

Voir aussi : man canalisor
</source>
        <translation>Usage: canalisor [OPTION]...
Pipe puzzle: lead the liquids to their outlets before they overflow.

  -h, --help       display this help and exit
  -v, --version    display the version and exit

Qt&apos;s own options are accepted too, among them:
  -platform NAME   the display plugin: xcb, wayland, offscreen...
  -style NAME      the windows&apos; style: Fusion, Windows...
  -display SCREEN  the X11 screen to open the window on, for example :0

See also: man canalisor
</translation>
    </message>
    <message>
        <source>Canalisor version %1
Licence : GPL-3.0-or-later
</source>
        <translation>Canalisor version %1
License: GPL-3.0-or-later
</translation>
    </message>
    <message>
        <source>canalisor : option inconnue « %1 »
</source>
        <translation>canalisor: unknown option &apos;%1&apos;
</translation>
    </message>
    <message>
        <source>canalisor : argument inattendu « %1 » (le jeu ne prend aucun fichier)
</source>
        <translation>canalisor: unexpected argument &apos;%1&apos; (the game takes no file)
</translation>
    </message>
    <message>
        <source>canalisor : l&apos;option « %1 » attend une valeur
</source>
        <translation>canalisor: option &apos;%1&apos; needs a value
</translation>
    </message>
    <message>
        <source>Essayez « canalisor --help » pour la liste des options.
</source>
        <translation>Try &apos;canalisor --help&apos; for the list of options.
</translation>
    </message>
</context>
<context>
    <name>canalisor::ui::FenetreAPropos</name>
    <message>
        <source>Canalisor version %1
Licence : GPL-3.0-or-later
Août 2016
canalisor@example.org
https://example.org/canalisor</source>
        <translation>Canalisor version %1
License: GPL-3.0-or-later
August 2016
canalisor@example.org
https://example.org/canalisor</translation>
    </message>
    <message>
        <source>Canalisor - A propos</source>
        <translation>Canalisor - About</translation>
    </message>
</context>
<context>
    <name>canalisor::ui::FenetrePrincipale</name>
    <message>
        <source>Retour</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Reprend la partie. Raccourci : P</source>
        <translation>Resumes the game. Shortcut: P</translation>
    </message>
    <message>
        <source>Arrête le temps ; aucun tuyau ne se pose en pause. Raccourci : P</source>
        <translation>Stops the clock; no pipe can be laid while paused. Shortcut: P</translation>
    </message>
    <message>
        <source>&amp;Fichier</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>&amp;Nouvelle partie</source>
        <translation>&amp;New Game</translation>
    </message>
    <message>
        <source>&amp;Arrêter la partie</source>
        <translation>&amp;End Game</translation>
    </message>
    <message>
        <source>Niveau de &amp;difficulté</source>
        <translation>&amp;Difficulty</translation>
    </message>
    <message>
        <source>&amp;Facile (1)</source>
        <translation>&amp;Easy (1)</translation>
    </message>
    <message>
        <source>&amp;Moyen (2)</source>
        <translation>&amp;Medium (2)</translation>
    </message>
    <message>
        <source>&amp;Difficile (3)</source>
        <translation>&amp;Hard (3)</translation>
    </message>
    <message>
        <source>&amp;Meilleurs scores</source>
        <translation>&amp;Best Scores</translation>
    </message>
    <message>
        <source>&amp;Quitter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Règles</source>
        <translation>&amp;Rules</translation>
    </message>
    <message>
        <source>&amp;A propos</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Niveau</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Essais</source>
        <translation>Tries</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Difficulté</source>
        <translation>Difficulty</translation>
    </message>
    <message>
        <source>Temps</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Tuyaux suivants</source>
        <translation>Next pipes</translation>
    </message>
    <message>
        <source>Vannes max.</source>
        <translation>Full flow</translation>
    </message>
    <message>
        <source>Ouvre les vannes en grand : les liquides avancent à chaque seconde et chaque case rapporte plus de points. Raccourci : V</source>
        <translation>Opens the valves fully: the liquids move on every second and each cell scores more points. Shortcut: V</translation>
    </message>
    <message>
        <source>Tuyau en main : cliquez sur une case pour l&apos;y poser, ou choisissez-la avec les flèches et appuyez sur Espace ou Entrée.</source>
        <translation>Pipe in hand: click a cell to lay it there, or choose the cell with the arrow keys and press Space or Enter.</translation>
    </message>
    <message>
        <source>Tuyau suivant : il vient en main une fois le tuyau en main posé.</source>
        <translation>Next pipe: it comes into your hand once the pipe in hand is laid.</translation>
    </message>
    <message>
        <source>Tuyau d&apos;après : il vient en main après le tuyau suivant.</source>
        <translation>Pipe after next: it comes into your hand after the next pipe.</translation>
    </message>
    <message>
        <source>Plateau</source>
        <translation>Board</translation>
    </message>
    <message>
        <source>Les flèches choisissent une case, Espace ou Entrée y pose le tuyau en main.</source>
        <translation>The arrow keys choose a cell; Space or Enter lays the pipe in hand there.</translation>
    </message>
</context>
<context>
    <name>canalisor::ui::FenetreRegles</name>
    <message>
        <source>Avant de jouer, choisissez votre niveau de difficulté (menu Fichier / Niveau de difficulté).
Pour démarrer la partie, sélectionnez Fichier / Nouvelle partie.
Il n&apos;est pas possible de modifier la difficulté d&apos;une partie en cours.
Une partie s&apos;achève lorsque le joueur n&apos;a plus d&apos;essais ou bien décide d&apos;arrêter manuellement (menu Fichier / Arrêter la partie).
</source>
        <translation>Before playing, choose your difficulty (Game menu &gt; Difficulty).
To start a game, choose Game &gt; New Game.
The difficulty of a game in progress cannot be changed.
A game ends when the player has no tries left or decides to stop it (Game menu &gt; End Game).
</translation>
    </message>
    <message>
        <source>Des tuyaux sont disponibles successivement. Les trois prochains sont affichés dans l&apos;ordre (cases Tuyaux suivants).
A chaque fois que le joueur clique sur la grille, il place dans la case correspondante le tuyau à sa disposition.
Un tuyau peut être posé sur un autre tuyau à condition qu&apos;il ne soit ni ancré, ni rempli.
Les tuyaux ancrés sont les suivants :
</source>
        <translation>Pipes come one after another. The next three are shown in order (the Next pipes boxes).
Each time the player clicks the board, the pipe in hand is laid in the cell clicked.
A pipe can be laid over another pipe as long as that one is neither fixed nor filled.
The fixed pieces are:
</translation>
    </message>
    <message>
        <source>Une fois la partie lancée, un premier compteur Temps défile (%1 secondes en difficulté 1, %2 en difficulté 2 et %3 en difficulté 3).
Une fois ce temps écoulé, les vannes de chaque liquide s&apos;ouvrent et le liquide progresse d&apos;une case.
Pour ne pas déborder, la case suivant la case sur le point d&apos;être remplie doit être également posée.
Ensuite, un nouveau compteur est remis en route et régulièrement (%4 secondes en difficulté 1 et 2 et %5 secondes en difficulté 3), le liquide progresse d&apos;une nouvelle case.
Une fois que tous les tuyaux sont correctement placés, ou sur le point de l&apos;être, il est possible d&apos;accélérer le remplissage en cliquant sur le bouton Vannes max.
Il est possible de mettre le jeu en pause (en cliquant sur le bouton Pause) afin de réfléchir plus calmement à une stratégie.
Les points sont calculés de la manière suivante : %6 point par case remplie automatiquement, %7 points (%8 en mode difficile) par case remplie de manière accélérée, %9 points par niveau franchi.
Lorsque le joueur termine le 15e niveau, il gagne %10 points supplémentaires, 1 essai supplémentaire et recommence au niveau 1 en conservant son score, au niveau de difficulté supérieur (plafonné à 3).
</source>
        <translation>Once the game has started, a first Time countdown runs (%1 seconds at difficulty 1, %2 at difficulty 2 and %3 at difficulty 3).
When that time is up, the valves of each liquid open and the liquid moves on by one cell.
To keep it from overflowing, the cell after the one about to be filled must already hold a pipe.
Then a new countdown starts and, at regular intervals (%4 seconds at difficulties 1 and 2, %5 seconds at difficulty 3), the liquid moves on by one more cell.
Once all the pipes are correctly laid, or about to be, you can speed up the filling by clicking the Full flow button.
You can pause the game (by clicking the Pause button) to think out a strategy more calmly.
Points are scored as follows: %6 point per cell filled automatically, %7 points (%8 on Hard) per cell filled at full flow, %9 points per level completed.
When the player completes the 15th level, they win %10 extra points and 1 extra try, and start again at level 1 with their score kept, one difficulty higher (3 at most).
</translation>
    </message>
    <message>
        <source>Canalisor - Règles</source>
        <translation>Canalisor - Rules</translation>
    </message>
    <message>
        <source>Règles du jeu</source>
        <translation>Rules of the game</translation>
    </message>
    <message>
        <source>Obstacle</source>
        <translation>Obstacle</translation>
    </message>
    <message>
        <source>Départ du liquide bleu (selon le niveau, il peut y avoir jusqu&apos;à 4 liquides de couleurs différentes)</source>
        <translation>Source of the blue liquid (depending on the level, there can be up to 4 liquids of different colors)</translation>
    </message>
    <message>
        <source>Arrivée du liquide bleu (pour gagner, chaque liquide doit être conduit vers son tuyau d&apos;arrivée associé)</source>
        <translation>Outlet of the blue liquid (to win, each liquid must be led to its own outlet pipe)</translation>
    </message>
    <message>
        <source>Porte pour le liquide bleu (si une porte est présente, le liquide de la couleur correspondante doit impérativement transiter par ce passage avant d&apos;atteindre son tuyau d&apos;arrivée)</source>
        <translation>Gate for the blue liquid (where there is a gate, the liquid of the matching color must pass through it before it reaches its outlet pipe)</translation>
    </message>
</context>
<context>
    <name>canalisor::ui::FenetreScores</name>
    <message>
        <source>%1 : %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Canalisor - Scores</source>
        <translation>Canalisor - Scores</translation>
    </message>
    <message>
        <source>Meilleurs scores</source>
        <translation>Best scores</translation>
    </message>
</context>
</TS>
