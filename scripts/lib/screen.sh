# Reading and clicking the virtual display, in the wrapper's client coordinates.
# The registry desktop is 1024 x 768 and the wrapper is centred, so its client origin is at
# screen (152, 123).
CLIENT_X=152
CLIENT_Y=123

# screen_pixel X Y: the colour at a screen point as RRGGBB.
screen_pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tail -1
}

# wait_for_pixel X Y RRGGBB SECONDS: until the screen point shows that colour; 1 on timeout.
wait_for_pixel() {
  local deadline=$((SECONDS + $4))
  until [ "$(screen_pixel "$1" "$2")" = "$3" ]; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

client_pixel_wait() { wait_for_pixel $((CLIENT_X + $1)) $((CLIENT_Y + $2)) "$3" "$4"; }
client_move() { xdotool mousemove $((CLIENT_X + $1)) $((CLIENT_Y + $2)); }
client_click() { client_move "$1" "$2"; xdotool click 1; }
