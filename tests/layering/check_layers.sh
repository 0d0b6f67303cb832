#!/usr/bin/env bash
# Fails on any #include "folder/..." in a source tree that runs upward or sideways in the layers
#   platform < events < text < memory < clone, cells < profile < session < ui < cli | app
# (the command-line tool prints and exports sheets through the views' own code, offscreen)
# and on a widget header in a folder below the views. Inside ui/, its folders run one way too:
#   sheet < print, table, windows, chrome
# (each of the four uses the sheet, never one another). Usage: check_layers.sh SRC_DIR
set -u
root=${1:?usage: check_layers.sh SRC_DIR}
declare -A below=(
    [platform]=""
    [events]="platform"
    [text]="platform events"
    [memory]="platform events text"
    [clone]="platform events text memory"
    [cells]="platform events text memory"
    [profile]="platform events text memory clone cells"
    [session]="platform events text memory clone cells profile"
    [ui]="platform events text memory clone cells profile session"
    [cli]="platform events text memory clone cells profile session ui"
    [app]="platform events text memory clone cells profile session ui"
)
core="platform events text memory clone cells profile session"
declare -A ui_below=(
    [sheet]=""
    [print]="sheet"
    [table]="sheet"
    [windows]="sheet"
    [chrome]="sheet"
)
bad=0
for dir in "$root"/*/; do
    folder=$(basename "$dir")
    if [ -z "${below[$folder]+set}" ]; then
        echo "$folder/: a folder outside the layers (add it to tests/layering/check_layers.sh)"
        bad=1
        continue
    fi
    while IFS=: read -r file line text; do
        target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")
        [ "$target" = "$folder" ] && continue
        case " ${below[$folder]} " in
            *" $target "*) ;;
            *) echo "${file#"$root"/}:$line: $folder/ includes $target/ (not below it)"; bad=1 ;;
        esac
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' "$dir" \
                 --include='*.h' --include='*.cpp' || true)
    case " $core " in
        *" $folder "*)
            while IFS= read -r hit; do
                echo "${hit#"$root"/}: a widget header below the views"
                bad=1
            done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(QtWidgets|QtPrintSupport|QWidget|QApplication|QMessageBox|QFileDialog|QMainWindow|QPrinter)' \
                         "$dir" --include='*.h' --include='*.cpp' || true)
            ;;
    esac
done
# ui/'s own folders: every source lies in one, and includes only its own folder's or those below.
if [ -d "$root/ui" ]; then
    while IFS= read -r file; do
        rel=${file#"$root"/ui/}
        case "$rel" in
            */*) sub=${rel%%/*} ;;
            *) echo "ui/$rel: a source outside ui/'s folders"; bad=1; continue ;;
        esac
        if [ -z "${ui_below[$sub]+set}" ]; then
            echo "ui/$rel: a folder outside ui/'s layers (add it to tests/layering/check_layers.sh)"
            bad=1
            continue
        fi
        while IFS=: read -r line text; do
            target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"ui\/([^"]*)".*/\1/' <<<"$text")
            case "$target" in
                */*) target=${target%%/*} ;;
                *) echo "ui/$rel:$line: includes ui/$target (outside ui/'s folders)"; bad=1; continue ;;
            esac
            [ "$target" = "$sub" ] && continue
            case " ${ui_below[$sub]} " in
                *" $target "*) ;;
                *) echo "ui/$rel:$line: ui/$sub/ includes ui/$target/ (not below it)"; bad=1 ;;
            esac
        done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"ui/' "$file" || true)
    done < <(find "$root/ui" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
fi
[ $bad -eq 0 ] && echo "layering: every include runs downward"
exit $bad
