#!/usr/bin/env python3
# Writes cases.txt beside this script: one vistrel-cli run per line, arguments
# separated by tabs; $DIR stands for the scratch folder the replay runs in.
import itertools
cases = []
def add(*args): cases.append("\t".join(args))

shipped = ["Aster 1500","Aster 2000","Brisa ST6","Brisa LT25","Corvin 720","Corvin 900M",
           "Dalmar HD2","Dalmar HD3","Elowen P4","Elowen P1","Fenwick Q8","Fenwick Q9","Galen Mini"]
units = ["in","ft","cm"]; zooms=["wide","tele"]; aspects=["4:3","5:4","16:9"]; positions=["top","bottom"]
# A. start and each model
add("--json"); add(); add("--list-models"); add("--help")
for m in shipped:
    add("--json","--model",m)
    add("--model",m)
# every model, zoom and aspect, units and positions taking turns
for i,(m,z,a) in enumerate(itertools.product(shipped,zooms,aspects)):
    add("--json","--model",m,"--zoom",z,"--aspect",a,"--unit",units[i%3],"--position",positions[i%2])
# B. every field, typed values of every kind, in every unit
values = ["100","1","5000","12.3","120.000000000001","-50","abc","1e999","-1e999"," 42 ","7e1","0","300","30","+25","1,5"]
fields = ["--distance","--diagonal","--width","--height"]
for i,(f,v) in enumerate(itertools.product(fields,values)):
    m = ["Aster 2000","Corvin 900M","Dalmar HD2","Elowen P1"][i%4]
    add("--json","--model",m,"--unit",units[i%3],"--zoom",zooms[(i//3)%2] if m!="Elowen P1" else "wide",f,v)
for f in fields:
    for u in units:
        add("--json","--model","Galen Mini","--aspect","5:4","--unit",u,f,"60")
        add("--model","Fenwick Q9","--aspect","16:9","--unit",u,"--position","top",f,"80")
# C. the variants catalogue
variants = ["Both Mode1","Both Mode2 Flag","No Wide Screen","Wide Only","Tele Only","Negative Offsets",
            "Zero Offsets","Second Offset Wide Only","Short Throw","Min Above Max","Odd Mode","Flat Lens",
            "Zero Lens","Tiny","Same Name"]
V = ["--catalogue","$DIR/variants.ini"]
add(*V,"--list-models"); add(*V,"--json")
for m in variants:
    add(*V,"--json","--model",m)
    add(*V,"--json","--model",m,"--zoom","tele")
    add(*V,"--json","--model",m,"--aspect","16:9")
    add(*V,"--json","--model",m,"--aspect","5:4","--position","top","--diagonal","100")
    add(*V,"--model",m,"--unit","cm","--width","150")
    add(*V,"--json","--model",m,"--zoom","wide","--unit","ft","--distance","20")
# D. saving and opening
S = "$DIR/saved.cf"
for i,m in enumerate(["Aster 2000","Corvin 900M","Brisa LT25","Dalmar HD3","Elowen P1"]):
    add("--json","--model",m,"--aspect",aspects[i%3] if m not in ("Brisa LT25",) else "4:3","--unit",units[i%3],"--position",positions[i%2],"--diagonal","99","--save",S)
    add("--json","--open",S)
    add("--json","--open",S,"--unit","cm","--width","150")
    add("--json","--open",S,"--catalogue","$DIR/variants.ini")
    add("--open",S,"--save","$DIR/again.cf")
for m in ["Both Mode2 Flag","Tele Only","Negative Offsets","Odd Mode"]:
    add(*V,"--json","--model",m,"--diagonal","120","--save",S)
    add("--json","--open",S)
    add(*V,"--json","--open",S)
for f in ["clamped.cf","unknown-model.cf","wide-screen-fallback.cf","tele-fallback.cf","short.cf","bad-number.cf","bad-unit.cf","overflow.cf","quoted.cf","aspect-other.cf"]:
    add("--json","--open","$DIR/"+f)
    add("--open","$DIR/"+f)
# E. other texts
L = ["--language","$DIR/other-language.ini"]
for f,v in [("--diagonal","999"),("--diagonal","1"),("--width","abc")]:
    for u in units:
        add(*L,"--json","--unit",u,f,v)
        add(*L,"--unit",u,f,v)
add(*L,"--json","--open","$DIR/clamped.cf")
add("--language","$DIR/broken-language.ini","--json")
# F. requests that cannot be carried out
for args in [["--colour","red"],["--model","Nope"],["--width","1","--height","2"],["--model","Brisa ST6","--zoom","tele"],
             ["--model","Corvin 720","--aspect","16:9"],["--aspect","3:2"],["--unit","mm"],["--zoom","middle"],["--position","side"],
             ["--open","$DIR/missing.cf"],["--catalogue","$DIR/missing.ini"],["--language","$DIR/missing.ini"],["--distance"],
             ["--json","--catalogue","$DIR/empty.ini"],["--json","--catalogue","$DIR/overflow.ini"],
             [*V,"--json","--model","Flat Lens"],[*V,"--json","--model","Zero Lens"],["--json=yes"],["--diagonal=150","--json"],["--model=Galen Mini","--json"]]:
    add(*args)
# G. the installation planner
for i,m in enumerate(["Aster 2000","Brisa LT25","Corvin 900M","Elowen P1","Galen Mini"]):
    add("--chart","--model",m,"--unit",units[i%3])
    add("--chart","--json","--model",m,"--zoom",zooms[i%2] if m not in ("Brisa LT25","Elowen P1") else ("tele" if m=="Brisa LT25" else "wide"))
    add("--json","--model",m,"--gain",["1","1.3","0.8"][i%3],"--ambient",["0","50","200"][i%3],"--diagonal","100")
add(*V,"--chart","--model","Tiny")
add(*V,"--chart","--model","Min Above Max")
add("--json","--gain","0")
add("--json","--ambient","-5")
add("--json","--gain","abc")
add("--chart","--list-models")
# the planner's lines of the text report, in every unit, with a decimal point
# typed, with what a catalogue does not tell, and in other texts
for i,m in enumerate(["Aster 2000","Brisa LT25","Corvin 900M"]):
    add("--planner","--model",m,"--unit",units[i],"--zoom",zooms[i%2],"--diagonal",["100","8","250"][i])
add("--gain","1.3","--ambient","50","--aspect","16:9","--unit","ft")
add("--ambient","0","--model","Elowen P1")
add(*V,"--planner","--model","Tele Only","--zoom","tele")
add(*V,"--gain","0.8","--model","Short Throw","--unit","cm")
add(*L,"--planner","--unit","cm")
# H. the other formats on each model's panel, with and without an anamorphic lens
others = ["16:10","17:9","1.85","2.00","2.39","2.76","21:9"]
for i,m in enumerate(shipped):
    f = others[i%len(others)]
    add("--json","--model",m,"--aspect",f,"--zoom",zooms[i%2],"--unit",units[i%3])
    add("--planner","--model",m,"--aspect",f,"--anamorphic",["1.25","1.33"][i%2],"--diagonal","120")
# a 16 : 10 panel whose 16 : 9 follows its pixels (mode 3), every format at both ends
for i,(z,a) in enumerate(itertools.product(zooms,aspects+others)):
    add("--json","--model","Halden WU6","--zoom",z,"--aspect",a,"--unit",units[i%3])
add("--planner","--model","Halden WU6","--aspect","16:10","--anamorphic","1.25","--diagonal","100")
for args in [["--aspect","0.9"],["--aspect","16:0"],["--anamorphic","2.5"],["--model","Brisa LT25","--aspect","2.39"]]:
    add(*args)
# I. the projector models: the fit table, a model in data-sheet terms, the
# list exported, additions and imports as a dry run shows them (the replay has
# no user data folder, so a real addition is refused)
for d,u in [("100","in"),("300","in"),("250","cm")]:
    add("--fit","--aspect","16:9","--unit",u,"--diagonal",d)
add("--json","--fit","--aspect","16:9","--diagonal","100")
add("--fit","--aspect","2.39","--diagonal","120","--fit-distance","100-200")
add("--json","--fit","--aspect","16:9","--unit","ft","--diagonal","10","--fit-distance","5-12")
for m in ["Aster 2000","Dalmar HD2","Elowen P1"]:
    add("--model-terms","--model",m)
    add("--json","--model-terms","--model",m)
add("--models-export","-","--all-models")
add("--models-export","-","--all-models","--json")
add("--models-export","-")
lumen = "name=Lumen X1,px=1920x1080,throw=1.36-2.18,offset=110%,diag=40-300,lumens=3500"
add("--add-model",lumen,"--dry-run")
add("--json","--add-model",lumen,"--dry-run")
add("--add-model","name=Tarn W,px=1920x1080,throw=12,diag=40-300","--dry-run")
add("--add-model",lumen)
add("--add-model","name=,throw=1.5","--dry-run")
for f in ["models.csv","models.json"]:
    add("--models-import","$DIR/"+f,"--dry-run")
    add("--json","--models-import","$DIR/"+f,"--dry-run")
add("--models-import","$DIR/models.xls")
add("--models-export","-","--fit")
# G. the room and the title block
aster = ["--model","Aster 2000","--aspect","16:9"]
add("--json",*aster,"--diagonal","120","--position","top","--screen-bottom","24","--ceiling","108",
    "--mount-depth","6","--row","144","--row","192","--seat-offset","40","--project","Hall B")
add(*aster,"--diagonal","120","--screen-bottom","24","--row","143.68","--room-depth","300",
    "--body-length","15","--head-clearance","5","--date","2024-05-01","--prepared-by","J. Doe")
add("--json","--unit","cm",*aster,"--height","150","--screen-bottom","60","--row","1050","--eh","3.5",
    "--room-name","Lab")
add("--ceiling","20","--screen-bottom","24")
add(*aster,"--screen-bottom","24","--save","$DIR/room.cf")
# the light budget: aged light, the targets, the room's viewing tasks, the
# half-gain cone, a refusal
add("--json",*aster,"--zoom","tele","--diagonal","100","--age","end","--target-nits","14 fL")
add(*aster,"--diagonal","120","--ambient","80","--age","mid","--half-gain","10","--screen-bottom","24",
    "--row","160.95","--seat-offset","40")
add("--json","--model","Aster 1500","--aspect","16:9","--diagonal","120","--ambient","80","--age","0.6")
add("--age","old")
import os
open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "cases.txt"),"w").write("\n".join(cases)+"\n")
print(len(cases))
