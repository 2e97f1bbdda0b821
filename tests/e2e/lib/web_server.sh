# shellcheck shell=bash
# nginx for the end-to-end scripts: publishes a folder on a free loopback port, run by this
# user, everything it writes kept in the work folder. Sourced, not run; sources common.sh
# unless a library sourced before did.

if ! declare -F within >/dev/null; then
    # shellcheck source-path=SCRIPTDIR/lib source=common.sh
    source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
fi
require_tools nginx curl

# Publishes the given folder at http://127.0.0.1:$port/; sets port and web_server (nginx's pid).
# Optional, set before: web_server_user, the user nginx's workers run as (as root; root by
# default), and web_server_locations, more of the server block (location blocks).
start_web_server() {
    local published=$1 tries user_line=''
    mkdir -p "$work/nginx"
    [ "$(id -u)" -eq 0 ] && user_line="user ${web_server_user:-root};"
    for ((tries = 20; tries > 0; tries--)); do
        port=$((20000 + RANDOM % 40000))
        cat >"$work/nginx/nginx.conf" <<CONF
$user_line
daemon off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx.log;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    charset off;
    disable_symlinks off;
    server {
        listen 127.0.0.1:$port;
        root $published;
        ${web_server_locations:-}
    }
}
CONF
        nginx -p "$work/nginx" -e "$work/nginx.log" -c "$work/nginx/nginx.conf" &
        web_server=$!
        if within 5 curl -s -o /dev/null "http://127.0.0.1:$port/"; then
            own_processes+=("$web_server")
            return
        fi
        stop_process "$web_server"
    done
    fail "nginx did not start on a loopback port"
}
