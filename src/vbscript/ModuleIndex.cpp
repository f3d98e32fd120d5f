// Every module of builtins/ and objects/, registered in this order when the builtin table is
// first built. A later entry of the same name replaces an earlier one, so the order is part of
// the language: add a new module's line here.
#include "vbscript/Builtins.h"

SCRIVLET_VBS_MODULE(Constants);
SCRIVLET_VBS_MODULE(CreateObjectFunction);
SCRIVLET_VBS_MODULE(DateFunctions);
SCRIVLET_VBS_MODULE(EngineInfoFunctions);
SCRIVLET_VBS_MODULE(FormatFunctions);
SCRIVLET_VBS_MODULE(Interaction);
SCRIVLET_VBS_MODULE(MathFunctions);
SCRIVLET_VBS_MODULE(StringFunctions);
SCRIVLET_VBS_MODULE(ArrayFunctions);
SCRIVLET_VBS_MODULE(ConversionFunctions);
SCRIVLET_VBS_MODULE(InspectionFunctions);
SCRIVLET_VBS_MODULE(RandomFunctions);
SCRIVLET_VBS_MODULE(DictionaryObject);
SCRIVLET_VBS_MODULE(FileSystemObject);
SCRIVLET_VBS_MODULE(RegExpObject);
SCRIVLET_VBS_MODULE(ShellObject);

namespace vbscript {

using ModuleRegistration = void (*)(Registry&);

// builtins/
constexpr ModuleRegistration kModules[] = {
    &scrivlet_vbs_module_Constants,            // vbCrLf, vbOKOnly, ...
    &scrivlet_vbs_module_CreateObjectFunction, // CreateObject
    &scrivlet_vbs_module_DateFunctions,        // Date, DateAdd, DatePart, ...
    &scrivlet_vbs_module_EngineInfoFunctions,  // RGB, ScriptEngine*, GetObject
    &scrivlet_vbs_module_FormatFunctions,      // FormatNumber, ..., SetLocale
    &scrivlet_vbs_module_Interaction,          // MsgBox, InputBox
    &scrivlet_vbs_module_MathFunctions,        // Abs, Round, Sqr, ...
    &scrivlet_vbs_module_StringFunctions,      // Len, Mid, Replace, ...
    &scrivlet_vbs_module_ArrayFunctions,       // Array, LBound, UBound
    &scrivlet_vbs_module_ConversionFunctions,  // CBool ... CStr
    &scrivlet_vbs_module_InspectionFunctions,  // IsArray ... VarType
    &scrivlet_vbs_module_RandomFunctions,      // Rnd, Randomize
    // objects/
    &scrivlet_vbs_module_DictionaryObject, // Scripting.Dictionary
    &scrivlet_vbs_module_FileSystemObject, // Scripting.FileSystemObject
    &scrivlet_vbs_module_RegExpObject,     // RegExp
    &scrivlet_vbs_module_ShellObject,      // WScript.Shell
};

void registerAllModules(Registry& registry) {
    for (const ModuleRegistration module : kModules)
        module(registry);
}

} // namespace vbscript
