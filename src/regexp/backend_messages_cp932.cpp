// Messages of the NFA and DFA stages; this unit is compiled to CP932 bytes.
#include "regexp/nfa.h"

const char *const REMSG_RegExpTooComplex = "正規表現が複雑すぎて処理できません。";
const char *const REMSG_NFACannotHappen = "This cannot happen in TRE_NFA.GenerateStateList";
