// The game's texts are French, its own language, and the windows show them in the player's.
// This marks each one for lupdate, which collects the texts to translate by this macro's name;
// the rules have no Qt, so here it only gives the French text back, as Qt's own does.
#pragma once

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif
