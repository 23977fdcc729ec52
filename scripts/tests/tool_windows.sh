# Sourced by the screenshot and soak tests: where each tool lives and where
# its window and 3D view lie at scale 1, in its default size on an X server
# without a window manager (WxH+X+Y).
#   tool_window <tool>  sets folder, window and view ("" when it has no 3D view)
tool_window() {
  case "$1" in
    glazery)   folder=Glazery;   window="800x576+0+0";  view="500x480+280+36" ;;
    emberly)   folder=Emberly;   window="1060x636+0+0"; view="760x560+276+44" ;;
    landlume)  folder=Landlume;  window="1280x980+0+0"; view="300x220+220+70" ;;
    layerloom) folder=Layerloom; window="760x560+0+0";  view="" ;;
    stewardex) folder=Stewardex; window="480x540+0+0";  view="" ;;
    *) return 1 ;;
  esac
}
