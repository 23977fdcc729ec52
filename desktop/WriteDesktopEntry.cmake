# Writes one desktop entry at install time (see kl_desktop_entry). The
# program path is quoted for the Exec key: inside the quotes ", `, $ and \
# take a backslash, and the key's value escapes each backslash again; a
# literal % is written %%.
set(quoted "${KL_PROGRAM}")
string(REPLACE "\\" "\\\\" quoted "${quoted}")
string(REPLACE "\"" "\\\"" quoted "${quoted}")
string(REPLACE "`" "\\`" quoted "${quoted}")
string(REPLACE "$" "\\$" quoted "${quoted}")
string(REPLACE "\\" "\\\\" quoted "${quoted}")
string(REPLACE "%" "%%" quoted "${quoted}")
# Plain string values (TryExec, Path) escape only the backslash.
string(REPLACE "\\" "\\\\" plain "${KL_PROGRAM}")
get_filename_component(folder "${KL_PROGRAM}" DIRECTORY)
string(REPLACE "\\" "\\\\" plain_folder "${folder}")
file(WRITE "${KL_ENTRY_FILE}" "[Desktop Entry]
Type=Application
Version=1.4
Name=${KL_NAME}
GenericName=${KL_GENERIC}
Comment=${KL_COMMENT}
Exec=\"${quoted}\"${KL_EXEC_ARGS}
TryExec=${plain}
Path=${plain_folder}
Icon=${KL_ICON}
Terminal=false
Categories=Graphics;3DGraphics;Development;
${KL_MIME_LINE}")
