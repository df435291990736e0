# lay_out_game_folder BIN_DIR DEST GAME_FILE_NAME "Game Title"
# The folder a publisher ships: the shell renamed after the game, the game as its .MWG,
# the settings file with CR LF line ends, and the arcade folder.
lay_out_game_folder() {
  local bin=$1 dest=$2 name=$3 title=$4
  rm -rf "$dest"
  mkdir -p "$dest/MorvessaArcade/Backup"
  cp "$bin/shell.exe" "$dest/$name.exe"
  cp "$bin/MorvessaArcade.dll" "$dest/MorvessaArcade/MorvessaArcade.dll"
  cp "$bin/MorvessaArcade.dll" "$dest/MorvessaArcade/Backup/MorvessaArcade.dll"
  cp "$bin/demo-game.exe" "$dest/$name.MWG"
  sh "$(dirname "${BASH_SOURCE[0]}")/../../demo/background/make_background.sh" "$dest/Background.jpg"
  printf 'Application Name=%s\r\nApplication ID=1001\r\nDeveloper Channel ID 7\r\n' "$title" >"$dest/MAW_002.dat"
}
