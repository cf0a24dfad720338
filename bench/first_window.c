// Times one first start of the program: copies BINARY and HELPDIR into a new
// empty folder (so no data file exists, as on a first start), then prints the
// milliseconds from fork to the first MapNotify of a viewable top-level window
// titled ハヤテウチ. Build: cc -O2 -o first_window first_window.c -lX11
// Usage: first_window BINARY HELPDIR   (DISPLAY set to a running X server)
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <poll.h>
#include <fcntl.h>
static double now(void){struct timespec t;clock_gettime(CLOCK_MONOTONIC,&t);return t.tv_sec*1e3+t.tv_nsec/1e6;}
static Atom netname, utf8;
static int named(Display*d, Window w){
  Atom type; int fmt; unsigned long n, after; unsigned char*p=NULL; int ok=0;
  if(XGetWindowProperty(d,w,netname,0,1024,False,utf8,&type,&fmt,&n,&after,&p)==Success && p){ ok = strstr((char*)p,"ハヤテウチ")!=NULL; XFree(p);} 
  if(!ok){ char*s=NULL; if(XFetchName(d,w,&s) && s){ ok=strstr(s,"ハヤテウチ")!=NULL; XFree(s);} }
  return ok;
}
int main(int argc,char**argv){
  if(argc<3){ fprintf(stderr,"usage: first_window BINARY HELPDIR\n"); return 2; }
  char tmpl[]="/tmp/hayate-start.XXXXXX"; char *dir=mkdtemp(tmpl); char cmd[4096], exe[1024], run[1024];
  snprintf(cmd,sizeof cmd,"cp '%s' '%s'/hayateuchi && cp -r '%s' '%s'/help",argv[1],dir,argv[2],dir); if(system(cmd)) return 2;
  snprintf(exe,sizeof exe,"%s/hayateuchi",dir); snprintf(run,sizeof run,"%s/run",dir); mkdir(run,0700);
  Display*d=XOpenDisplay(NULL); if(!d) return 3;
  netname=XInternAtom(d,"_NET_WM_NAME",False); utf8=XInternAtom(d,"UTF8_STRING",False);
  Window root=DefaultRootWindow(d); XSelectInput(d,root,SubstructureNotifyMask); XSync(d,True);
  double t0=now(); pid_t pid=fork();
  if(pid==0){ setenv("XDG_RUNTIME_DIR",run,1); chdir(dir); int nul=open("/dev/null",1); dup2(nul,1); dup2(nul,2); execl(exe,exe,(char*)NULL); _exit(127);} 
  double t=-1; int fd=ConnectionNumber(d);
  while(now()-t0<60000){
    while(XPending(d)){ XEvent e; XNextEvent(d,&e);
      if(e.type==MapNotify){ Window w=e.xmap.window; XWindowAttributes a;
        if(named(d,w) && XGetWindowAttributes(d,w,&a) && a.map_state==IsViewable){ t=now()-t0; goto done; } } }
    struct pollfd pf={fd,POLLIN,0}; poll(&pf,1,5);
    int st; if(waitpid(pid,&st,WNOHANG)==pid){ fprintf(stderr,"child exited\n"); pid=0; break; }
  }
done:
  if(pid>0){ kill(pid,SIGKILL); waitpid(pid,NULL,0);} 
  snprintf(cmd,sizeof cmd,"rm -rf '%s'",dir); system(cmd);
  printf("%.2f\n",t); return t<0;
}
