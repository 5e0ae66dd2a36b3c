# The PDF printer for the tests, sourced by test.sh and tools/screenshots.sh (bash):
#   printer_start   starts the spooler (cupsd) when none runs and adds the
#                   queue "PDF" (cups-pdf), made the default; exports
#                   TRK_PDF_DIR, the folder the printed PDF files land in
#   printer_remove  takes the queue away (the runs without a printer)
#   printer_stop    takes the queue away and ends the spooler it started
# Jobs of the tests are cancelled on the way out, so that none stays queued.

printer_started=""

printer_add() {
    lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null &&
        lpoptions -d PDF >/dev/null
}

printer_start() {
    if ! lpstat -p >/dev/null 2>&1; then
        cupsd || return 1
        printer_started=1
        local _
        for _ in $(seq 50); do
            lpstat -p >/dev/null 2>&1 && break
            sleep 0.1
        done
    fi
    printer_add || return 1
    # cups-pdf writes into the folder "PDF" of the home of the job's owner.
    TRK_PDF_DIR=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
    mkdir -p "$TRK_PDF_DIR"
    export TRK_PDF_DIR
    # A first job, so that the tests' jobs do not wait for the spooler's first start of its filters.
    local _ warm
    warm=$(echo "TRK" | lp -d PDF -t trk-warm-up 2>/dev/null) || return 0
    for _ in $(seq 600); do
        ls "$TRK_PDF_DIR"/*trk-warm-up*.pdf >/dev/null 2>&1 && break
        sleep 0.1
    done
    rm -f "$TRK_PDF_DIR"/*trk-warm-up*.pdf
    [ -n "$warm" ]
}

printer_remove() {
    cancel -a PDF >/dev/null 2>&1 || true
    lpadmin -x PDF 2>/dev/null || true
}

printer_stop() {
    printer_remove
    if [ -n "$printer_started" ]; then
        pkill -x cupsd 2>/dev/null || true
        local _
        for _ in $(seq 50); do
            pgrep -x cupsd >/dev/null || break
            sleep 0.1
        done
        printer_started=""
    fi
}
