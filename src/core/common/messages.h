#pragma once

#include <string_view>

/// Every text a user can see from the core. The Portuguese texts are the system's own and are
/// kept exactly, blanks included.
namespace tarvex::msg {

// Files in general
inline constexpr std::string_view CannotOpenFile = " Não é possível abrir o arquivo !";
inline constexpr std::string_view CannotWriteFile = " Não é possível gravar o arquivo !";
inline constexpr std::string_view FileTooLarge = " Arquivo grande demais para ser lido !";

// Drawing files
inline constexpr std::string_view DesVersionError = " Não é possível ler arquivo: erro de versão !";
inline constexpr std::string_view DesTruncated
    = " Não é possível ler arquivo: o arquivo termina antes do esperado !";
inline constexpr std::string_view DesBadCount
    = " Não é possível ler arquivo: quantidade de registros inválida !";
inline constexpr std::string_view DesBadScale
    = " Não é possível ler arquivo: fator de escala inválido !";
inline constexpr std::string_view DesBadCoordinate
    = " Não é possível ler arquivo: coordenada inválida !";
inline constexpr std::string_view PreBadNumber = " Não é possível ler arquivo: número inválido !";
inline constexpr std::string_view PreBadIndex
    = " Não é possível ler arquivo: elemento com ponto ou centro inexistente !";
inline constexpr std::string_view UnknownFileType
    = " Este tipo de arquivo ainda não pode ser aberto !";

// Export of a drawing to problem data
inline constexpr std::string_view ErroContorno = " Erro na formação do Contorno";
inline constexpr std::string_view ErroRegioes = " Erro na formação das Regioes";
inline constexpr std::string_view SemContornos
    = " Não há contornos fechados no desenho: nada foi exportado !";
inline constexpr std::string_view DesenhoComplexoDemais
    = " Desenho com cruzamentos demais para exportar !";

// Drawing editing: insertion, selection, deletion, reproduction and displacement
inline constexpr std::string_view PontosIguais = " Pontos não podem ser iguais !";
inline constexpr std::string_view DistanciaZero = " Distância não pode ser zero !";
inline constexpr std::string_view PontosIdenticos = " Pontos não podem ser idênticos ! ";
inline constexpr std::string_view RaioZero = " Raio não pode ser zero !";
inline constexpr std::string_view PontoCentroIguais
    = "Ponto sobre a circunferência e centro não podem ser iguais !";
inline constexpr std::string_view AnguloZero = "Ângulo não pode ser zero !";
inline constexpr std::string_view MenosDoisPontosSegmento
    = "Existem Menos de dois Pontos Inseridos. Impossível Inserir Segmento !";
inline constexpr std::string_view MenosDoisPontosRetangulo
    = " Existem menos de dois pontos para selecionar !";
inline constexpr std::string_view MenosDoisPontosCircunferencia
    = " Existem menos de 2 pontos inseridos !";
inline constexpr std::string_view MenosTresPontos = " Existem menos de 3 pontos insereidos !";
inline constexpr std::string_view MenosDoisPontosArco = "Existem menos de dois pontos inseridos !";
inline constexpr std::string_view PontosSelecionadosIguais = "Pontos selecionados são iguais !";
inline constexpr std::string_view DoisPontosIguais
    = "Existem dois pontos Selecionados que são iguais !";
inline constexpr std::string_view PerguntaSegmento
    = "Deseja inserir segmento pelos pontos selecionados ?";
inline constexpr std::string_view PerguntaRetangulo
    = "Deseja inserir retangulo pelos pontos selecionados ?";
inline constexpr std::string_view PerguntaRetanguloDois
    = "Deseja inserir retangulo pelos útltimos dois pontos selecionados ?";
inline constexpr std::string_view PerguntaRetanguloUm
    = "Deseja utilizaro o último ponto selecionado para inserir retângulo ?";
inline constexpr std::string_view PerguntaCircunferencia
    = "Deseja inserir circunferência pelo(s) útltimo(s)  ponto(s) selecionado(s) ?";
inline constexpr std::string_view PerguntaEditarPonto = "Deseja editar último ponto selecionado ?";
inline constexpr std::string_view PerguntaCentro
    = "Deseja utilizaro o último ponto selecionado como centro da circunferência ?";
inline constexpr std::string_view SemPontosSelecionar = " Não há pontos a selecionar ! ";
inline constexpr std::string_view SemPontosSelecionados = " Não há pontos a selecionados";
inline constexpr std::string_view SemSegmentosSelecionar
    = "Não há arcos ou segmentos para selecionair !";
inline constexpr std::string_view SemSegmentosSelecionados
    = "Não há arcos ou segmentos selecionados !";
inline constexpr std::string_view SemPontosApagar = "Não há pontos para apagar !";
inline constexpr std::string_view SemSegmentosApagar
    = "Não há segmentos de retas ou arcos a apagar !";
inline constexpr std::string_view SemSelecaoReproduzir
    = "Não há segmentos ou arcos selecionados para reproduzir !";
inline constexpr std::string_view PontoConecta
    = "Pontos que conectam segmentos não podem sem excluidos !";
inline constexpr std::string_view ErroListaSelecionados
    = "Erro no tamanho da lista de pontos selecionados!";
inline constexpr std::string_view ReproducoesDemais
    = " Número de reproduções grande demais para o desenho !";
inline constexpr std::string_view CoordenadaForaAlcance
    = " Coordenadas fora do alcance: o comando foi cancelado !";
/// printf formats of the status-bar texts of the selections.
inline constexpr const char* FormatoPontoSelecionado = "Ponto selecionado: (%#9.3f, %#9.3f)";
inline constexpr const char* FormatoSegmentoSelecionado
    = "Segmento selecionado: P1(%#9.3f,%#9.3f)  P2(%#9.3f,%#9.3f)";
inline constexpr const char* FormatoArcoSelecionado
    = "Arco selecionado: P1(%#9.3f, %#9.3f)  P2(%#9.3f,%#9.3f)  PC(%#9.3f,%#9.3f)";

// Graph and materials files
inline constexpr std::string_view GrpVersionError = DesVersionError;
inline constexpr std::string_view GrpTruncated = DesTruncated;
inline constexpr std::string_view GrpBadCount = DesBadCount;
inline constexpr std::string_view GrpUnequalCurve
    = " Não é possível ler arquivo: curva com quantidades diferentes de abscissas e ordenadas !";
inline constexpr std::string_view GrpBadValue = " Não é possível ler arquivo: valor inválido !";
inline constexpr std::string_view SoUmaCurva = " Só há uma curva. Operação cancelada !";
inline constexpr std::string_view MatBadCount
    = " Arquivo de materiais: número de pontos inválido !";
inline constexpr std::string_view MatBadNumber = " Arquivo de materiais: número inválido !";
inline constexpr std::string_view MatTooFewPoints
    = " Arquivo de materiais com menos pontos do que o informado !";
inline constexpr std::string_view InformeArquivoMaterial
    = "Informe o nome do arquivo de materiais !";
/// The question is this text, the file name and CriaArquivoFim.
inline constexpr std::string_view CriaArquivoInicio = "Arquivo não existe ! Cria arquivo ";
inline constexpr std::string_view CriaArquivoFim = " ?";
inline constexpr std::string_view CriaArquivoNovo = " Arquivo não existe ! Cria arquivo novo ??";

// Problem editing
inline constexpr std::string_view PontoForaDominio = " Ponto fora do domínio ";
inline constexpr std::string_view NaoHaMalha = "Não há malha para desenhar !";
inline constexpr std::string_view ItemNaoDisponivel = "Item não disponível";
inline constexpr std::string_view PermRelativaFora
    = " Perm. Relativa deve estar entre 1e-15 e 1e15 !";
inline constexpr std::string_view ToleranciaArcosFora
    = " Tolerância nos arcos deve estar entre 1e-12 e 1e12 !";
inline constexpr std::string_view AnguloArcoFora
    = " Ângulo mínimo dos arcos deve estar entre 0.5 e 60 !";
inline constexpr std::string_view ValorInvalido = " Digite um número válido !";
inline constexpr std::string_view FatorEscalaInvalido = " Fator Escala deve ser maior que zero !";
inline constexpr std::string_view SemSegmentos = " O problema não tem segmentos de contorno !";
inline constexpr std::string_view SemPotencialSegmento
    = " Não há potencial imposto neste segmento !";
inline constexpr std::string_view SemPotencialPonto = " Não há potencial imposto neste ponto !";
inline constexpr std::string_view AreaVazia = " A área definida não tem extensão !";

// Mesh generation
inline constexpr std::string_view MalhaNaoGeradaStatus = "Status: malha não gerada";
inline constexpr std::string_view MalhaPreparando = "Status: preparando para gerar malha...";
inline constexpr std::string_view MalhaNosFronteira = "Status: inserindo nós de fronteira.";
inline constexpr std::string_view MalhaNosInternos = "Status: inserindo nós internos.";
inline constexpr std::string_view MalhaRegiaoEspecial = "Status: inserindo nós da região especial.";
inline constexpr std::string_view MalhaCondicaoAngulo = "Status: verificando condição de ângulo.";
inline constexpr std::string_view MalhaReconstituindo = "Status: reconstituindo as fronteiras.";
inline constexpr std::string_view MalhaCantos = "Status: corrigindo triângulos dos cantos.";
inline constexpr std::string_view MalhaRecentrando = "Status: recentrando elementos.";
inline constexpr std::string_view MalhaConcluida = "Status: concluída a geração da malha.";
inline constexpr std::string_view MalhaIncoerenteFronteira
    = " Erro : Número de Elementos Gerados Incoerente (fronteira)";
inline constexpr std::string_view MalhaIncoerentePontosInternos
    = " Erro : Número de Elementos Gerados Incoerente (pontos internos)";
inline constexpr std::string_view MalhaNaoGerada = "Malha ainda não gerada !";
inline constexpr std::string_view RecentragemSemMalha
    = "Operação ainda não implementada ! Gere uma malha primeiro !";
inline constexpr std::string_view AreaRefinoIncorreta
    = "Área a refinar definida de forma incorreta ou indefinida !";
inline constexpr std::string_view AreaSemTriangulos = "Área definida não contém nenhum triângulo !";
/// The recentring report is this text followed by FormatoRecentragem (quality before, after).
inline constexpr std::string_view RecentragemEfetuada = " Recentragem efetuada : ";
inline constexpr const char* FormatoRecentragem
    = "\n fator qual. s/ rencentragem: %5.3lf/ fator qual. após recentragem %5.3lf";
inline constexpr std::string_view InformacoesMalhaTitulo = "Informações sobre a Malha Atual";
inline constexpr std::string_view InfoNumElementos = "Número de Elementos :";
inline constexpr std::string_view InfoNumNos = "Número de Nós :";
inline constexpr std::string_view InfoQualidadeMedia = "Fator de qualidade médio :";
inline constexpr std::string_view InfoQualidadeMinima = "Fator de qualidade mínimo :";
inline constexpr std::string_view InfoAnguloMedio = "Condição de ângulo média :";
inline constexpr std::string_view InfoAnguloMinimo = "Condição de ângulo mínima :";
inline constexpr std::string_view InfoAreaMedia = "Área média triângulos :";
inline constexpr std::string_view InfoAreaMinima = "Área menor triângulo :";
// Refusals of a run that could not give a sound mesh.
inline constexpr std::string_view MalhaInterrompida = " Geração da malha interrompida !";
inline constexpr std::string_view MalhaSemContorno = " Erro : Não há contorno para gerar a malha !";
inline constexpr std::string_view MalhaArestaInvalida
    = " Erro : Aresta máxima inválida para gerar a malha !";
inline constexpr std::string_view MalhaGrandeDemais
    = " Erro : Aresta pequena demais: a malha teria elementos demais !";
inline constexpr std::string_view MalhaNaoConverge
    = " Erro : O refinamento pela condição de ângulo não converge !";
inline constexpr std::string_view MalhaFronteirasNaoReconstituidas
    = " Erro : Não foi possível reconstituir as fronteiras !";

// Linear solution
/// Shown by a calculation run when the user stopped the solver; the previous results stay.
inline constexpr std::string_view CalculoInterrompido = "Status: cálculo interrompido !";

// Solver model files and export
inline constexpr std::string_view MshErroVersao = " Não é possível ler arquivo: erro de versão !";
inline constexpr std::string_view MshSemMalha
    = " Malha ainda não foi gerada ! Operação cancelada !";
inline constexpr std::string_view MshErroSimetria = " Erro na definição da simetria !";
inline constexpr std::string_view MshErroListaEsquerda
    = " Erro de inserçao de índice na lista esquerda";
inline constexpr std::string_view MshErroListaDireita
    = " Erro de inserçao de índice na lista direita";
inline constexpr std::string_view MontagemAreaZero
    = "Erro na Montagem da Matriz : area de elemento=0 !";
inline constexpr std::string_view MontagemIndiceZero = " Erro na Montagem da Matriz: indice zero";
inline constexpr std::string_view MontagemSemRegiao
    = " Erro na Montagem da Matriz: tr não pertence à nenhuma regiao";
inline constexpr std::string_view MshFiltro = "Arquivos (*.msh)|*.msh||";
/// Refusals of solver model files that do not describe a consistent model.
inline constexpr std::string_view MshMatrizInvalida
    = " Não é possível ler arquivo: matriz do sistema inválida !";
inline constexpr std::string_view MshNoInexistente
    = " Não é possível ler arquivo: referência a nó inexistente !";
inline constexpr std::string_view MshModeloIncoerente
    = " Não é possível ler arquivo: dimensões do modelo incoerentes !";
/// Export of a non-linear region whose materials file cannot be read.
inline constexpr std::string_view MshArquivoMaterial
    = " Não é possível ler o arquivo de materiais de uma região não-linear ! Operação cancelada !";

// Calculation runs
inline constexpr std::string_view StatusNaoIniciado = "Status : cálculo não iniciado";
inline constexpr std::string_view StatusEmProgresso = "Status: cálculo em progresso. Aguarde !";
inline constexpr std::string_view StatusConcluido = "Status: cálculo concluído";
inline constexpr std::string_view StatusMontando = "Status: montando a matriz de coeficientes";
inline constexpr std::string_view StatusMetNewton = "Resolvendo sist. de equações (Met. Newton)";
inline constexpr std::string_view StatusMetLinear = "Resolvendo sist. de equações (Met. Linear)";
inline constexpr std::string_view IteracaoNaoIniciada = "Iteração : não iniciada";
/// printf format: step number and error in percent.
inline constexpr const char* LinhaPasso = "Passo : %d     Erro Máximo :  %10.3g %%";
inline constexpr std::string_view SemNaoLinearidade
    = " Não existe material com não-linearidade ! Realiza Cálculo Linear ? ";
inline constexpr std::string_view SemCondutividade
    = "Não existe material com condutividade.\nOperação Cancelada !";
inline constexpr std::string_view InterrompeCalculo = " Interrompe Cálculo em progresso ?";
inline constexpr std::string_view SemResultado = "Não há resultado de cálculo disponível !";
inline constexpr std::string_view RealizaCalculoLinear = "Realiza cálculo linear ?";
inline constexpr std::string_view CalculoLinearRealizado = " Cálculo Linear Realizado !";
/// A model whose system does not match its nodes (a damaged or hand-made model) is not solved.
inline constexpr std::string_view SistemaInconsistente
    = " Sistema de equações não corresponde aos nós do modelo ! Operação cancelada !";

// Results display
inline constexpr std::string_view SemDadosEquipotenciais
    = "Impossível traçar equipotenciais: não há dados de cálculo disponível !";
inline constexpr std::string_view SemDadosCorrentesInduzidas
    = "Impossível traçar equipotenciais: não há dados de cálculo disponível !\n Cálculo de "
      "correntes induzidas deve ser feito antes !";
inline constexpr std::string_view AnaliseSemCondutividade
    = "Analise não inclui materiais com condutividade ! \nOperação Cancelada !";

// Range checks of the results dialogs' fields (printf formats: the two limits)
inline constexpr const char* InteiroEntre = " Digite um número inteiro entre %d e %d !";
inline constexpr const char* NumeroEntre = " Digite um número entre %g e %g !";

// Point values, flux between two points, colour maps
/// printf format of every value of the point-values dialog.
inline constexpr const char* FormatoValorPonto = "%-12.6g";
inline constexpr std::string_view Indefinido = "indefinido";
inline constexpr std::string_view SemDadosValores
    = "Impossível calcular valores ! Não há dados de Cálculo.";
inline constexpr std::string_view SemDadosCurvas
    = "Impossível Calcular Curvas ! Não há dados de Cálculo.";
/// printf format: the flux (per metre) between two points.
inline constexpr const char* FluxoPorMetro = "Fluxo/m : %12.4g";
/// The result field of the keyboard flux dialog before a calculation.
inline constexpr std::string_view FluxoNaoCalculado = "Não Calculado !";
/// The results frame's result pane before any result.
inline constexpr std::string_view ResultadoNaoCalculado = "Fluxo : não calc.";
/// The results frame's position pane before the cursor moved over the view.
inline constexpr std::string_view PosicaoInicialResultados = "Posicão: (0,0)";
/// Status text and tooltip (after the line break) of the colour-scale strip command.
inline constexpr std::string_view EscalaCoresDica
    = "Acessa o menu para traçado de escala da cores.\nDesenha Escala de Cores";
inline constexpr std::string_view RotuloBx = "Bx (T):";
inline constexpr std::string_view RotuloBy = "By (T):";
inline constexpr std::string_view RotuloB = "||B|| (T)";
inline constexpr std::string_view RotuloHx = "Hx (A/m):";
inline constexpr std::string_view RotuloHy = "Hy (A/m):";
inline constexpr std::string_view RotuloH = "||H|| (A/m):";
inline constexpr std::string_view RotuloFx = "Fx (N/m²) :";
inline constexpr std::string_view RotuloFy = "Fy (N/m²) :";
inline constexpr std::string_view RotuloDx = "Dx(C/m²):";
inline constexpr std::string_view RotuloDy = "Dy(C/m²):";
inline constexpr std::string_view RotuloD = "|D| (C/m²):";
inline constexpr std::string_view RotuloEx = "Ex (V/m):";
inline constexpr std::string_view RotuloEy = "Ey (V/m):";
inline constexpr std::string_view RotuloE = "||E|| (V/m):";
inline constexpr std::string_view RotuloBt = "Bt (T):";
inline constexpr std::string_view RotuloBr = "Br (T):";
inline constexpr std::string_view RotuloHt = "Ht (A/m):";
inline constexpr std::string_view RotuloHr = "Hr (A/m):";
inline constexpr std::string_view RotuloFt = "Ft (N/m²) :";
inline constexpr std::string_view RotuloFr = "Fr (N/m²) :";
inline constexpr std::string_view RotuloDt = "Dt(C/m²):";
inline constexpr std::string_view RotuloDr = "Dr(C/m²):";
inline constexpr std::string_view RotuloEt = "Et (V/m):";
inline constexpr std::string_view RotuloEr = "Er (V/m):";
inline constexpr std::string_view RotuloPermRelativa = "perm. relativa :";
inline constexpr std::string_view RotuloJ = "|| J || (A/mm²) :";
inline constexpr std::string_view RotuloPi = " Pi  (W/m³) :";
inline constexpr std::string_view LegendaInducao = "Indução [ Tesla ]";
inline constexpr std::string_view LegendaCampoH = "Campo [ A/m ]";
inline constexpr std::string_view LegendaInducaoEletrica = "Indução Elet. [C/m² ]";
inline constexpr std::string_view LegendaCampoE = "Campo [ V/m ]";
inline constexpr std::string_view LegendaDensCorrente = "Dens. Cor. [ A/mm² ]";
inline constexpr std::string_view LegendaDensPerdas = "Dens. Perdas [ W/m³ ]";
inline constexpr std::string_view MapaSoMagnetico
    = "Opção não disponível para análise de campo elétrico !\n   Operação cancelada !";
inline constexpr std::string_view MapaSoEletrico
    = "Opção não disponível para análise de campo magnético !\n   Operação cancelada !";
inline constexpr std::string_view MapaSemResultado
    = " Não há resultados de cálculo disponível ! \n Operação Cancelada !";
inline constexpr std::string_view MapaSemResultados
    = " Não há resultados de cálculo disponíveis ! \n Operação Cancelada !";
inline constexpr std::string_view MapaSemCorrentesInduzidas
    = " Não há resultados disponíveis: cálculo de correntes induzidas não foi realizado ! \n "
      "Operação Cancelada !";
inline constexpr std::string_view EscalaCoresSemResultado
    = "Não há resultados de cálculo disponível ! Ação cancelada. ";

// Sections, forces and losses of the results view
inline constexpr std::string_view GraficoDistancia = "distância (mm)";
inline constexpr std::string_view GraficoInducao = "Densidade Fluxo sobre a Seção";
inline constexpr std::string_view GraficoCampo = "Campo sobre a Seção";
inline constexpr std::string_view GraficoPressao = "Pressão sobre a Seção";
inline constexpr std::string_view GraficoCorrente = "Densidade de Corrente sobre a Seção";
inline constexpr std::string_view GraficoPerdas = "Densidade de Perdas sobre a Seção";
inline constexpr std::string_view EixoB = "B (T)";
inline constexpr std::string_view EixoD = "D (T)";
inline constexpr std::string_view EixoH = "H (A/m)";
inline constexpr std::string_view EixoE = "E (V/m)";
inline constexpr std::string_view EixoHPolar = "H (A/m";
inline constexpr std::string_view EixoEPolar = "E (V/m";
inline constexpr std::string_view EixoPressao = "P (N/m²)";
inline constexpr std::string_view EixoCorrente = "J (A/mm²)";
inline constexpr std::string_view EixoPerdas = "P (W/m³)";
inline constexpr std::string_view ValorAbsurdoPi = "Valor absurdo Pi !";
inline constexpr std::string_view ValorAbsurdoPit = "Valor absurdo Pit !";
inline constexpr std::string_view ValorAbsurdoPin = "Valor absurdo Pin !";
/// A polar section that yields no curve (no extent, or it misses the mesh), batch tool only:
/// the view then simply opens no graph.
inline constexpr std::string_view SecaoPolarSemCurva = "Seção polar não encontrou a malha !";
inline constexpr std::string_view CurvaPontosIguais = "Pontos iguais ! Impossível traçar curva !";
inline constexpr std::string_view SoAnaliseMagnetica
    = "Opção não disponível para análise de campo elétrico !\nOperação cancelada !";
/// printf formats: |F|, Fx, Fy; and |F|, Fn, Ft.
inline constexpr const char* ForcaXY = "Força (N/m)   |F |:%12.4e    Fx :%12.4e     Fy :%12.4e";
inline constexpr const char* ForcaRT = "Força (N/m)   |F |:%12.4e  Fn :%12.4e   Ft :%12.4e";
/// printf formats: the losses per metre.
inline constexpr const char* PerdasRegiao = "Perdas na Região W/m : %12.4g";
inline constexpr const char* PerdasTotal = "Perdas Total W/m : %12.4g";
inline constexpr std::string_view PontoForaDominioPerdas = "Ponto Fora do Dominio";
/// Losses of a region whose contour does not close: its inside is not defined.
inline constexpr std::string_view RegiaoAberta
    = "Contorno da região não é fechado ! Operação cancelada !";
// Critical discharge path and creepage path
inline constexpr std::string_view MesmoPotencial
    = " Segmentos indicados possuem o mesmo potencial. Cálculo Cancelado !";
inline constexpr std::string_view SegmentosConectados
    = " Segmentos indicados possuem estão conectados por dois pontos. Cálculo Cancelado !";
inline constexpr std::string_view CaminhoCriticoImpossivel
    = "Impossível encontrar caminho crítico. Verifique a indicação dos segmentos final e inicial.";
inline constexpr std::string_view SemCaminhoCritico
    = " Não há caminho crítico calculado. Realize primeiro o cálculo.";
inline constexpr std::string_view SemCaminhoEscoamento
    = " Não há caminho de escoamento calculado. Realize primeiro o cálculo.";
inline constexpr std::string_view CaminhoDescontinuo
    = " Erro na indicação dos segmentos. Deve ser indicado um caminho contínuo !";
/// A chain of contour segments that does not run along mesh edges (a mesh made before the
/// contours changed) cannot be sampled.
inline constexpr std::string_view EscoamentoForaDaMalha
    = " Caminho de escoamento não segue as arestas da malha. Cálculo Cancelado !";
/// The keyboard entry of a path's two points (the same text as the sections' keyboard entry).
inline constexpr std::string_view CaminhoPontosIguais = "Pontos iguais ! Impossível traçar curva !";
/// printf formats of the report: the minimum (percent), then the point.
inline constexpr const char* FatorSegurancaMinimo
    = "Fator de Segurança Mínimo: %8.2f %% \n\nPonto(%8.3f,%8.3f)";
inline constexpr const char* FatorSegurancaMinimoG
    = "Fator de Segurança Mínimo: %8.2g %% \n\nPonto(%8.3f,%8.3f)";
/// Appended to the report when a user's curve gave the allowable field (printf: the file name).
inline constexpr const char* CurvaAdmissivelUsada = "\n\nCampo admissível: curva de %s";
inline constexpr std::string_view CurvaAdmissivelInvalida
    = " Curva de campo admissível inválida: são necessários dois pontos ou mais, comprimentos "
      "crescentes e positivos e campos positivos !";
inline constexpr std::string_view TituloCampoCaminho = "Campo sobre Caminho";
inline constexpr std::string_view TituloCampoEscoamento = "Campo sobre o Caminho de Escoamento";
inline constexpr std::string_view TituloFatorSeguranca = "Fator de Segurança sobre o Caminho (%)";
inline constexpr std::string_view LegendaCampoCaminho = "E (V/m)";
inline constexpr std::string_view LegendaFator = "Fator (%)";
inline constexpr std::string_view LegendaDistancia = "distância (mm)";
// Typical arrangements: refusals of the dimensions typed (each ends as Cancelada does)
inline constexpr std::string_view ArranjoNegativo
    = " Nenhum valor deve ser negativo !  \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_a
    = " Valor da dimensão 'a' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_b
    = " Valor da dimensão 'b' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_c
    = " Valor da dimensão 'c' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_d
    = " Valor da dimensão 'd' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_e
    = " Valor da dimensão 'e' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_f
    = " Valor da dimensão 'f' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_g
    = " Valor da dimensão 'g' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_h
    = " Valor da dimensão 'h' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_i
    = " Valor da dimensão 'i' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_j
    = " Valor da dimensão 'j' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_r1
    = " Valor da dimensão 'r1' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view ArranjoZero_r2
    = " Valor da dimensão 'r2' não pode ser zero ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo1_bMenor2r
    = " Valor da dimensão b não pode ser menor que 2*r ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo1_cMenor2r
    = " Valor da dimensão c não pode ser menor que 2*r ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo1_bMaiorD
    = " Valor da dimensão b não pode ser maior que d ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo2_bMenor2r2
    = " Valor da dimensão 'b' não pode ser menor que 2*r2 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo2_dMenor2r1
    = " Valor da dimensão d não pode ser menor que 2*r1 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo2_eMaiorH
    = " Valor da dimensão e não pode ser maior que h ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo2_fMaiorH
    = " Valor da dimensão f não pode ser maior que h ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo3_aMenorR1
    = " Valor da dimensão a não pode ser menor que r1 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo3_fMenorR1
    = " Valor da dimensão f não pode ser menor que r1 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo3_eMenorR2
    = " Valor da dimensão e não pode ser menor que r2 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo3_cMenorR2
    = " Valor da dimensão c não pode ser menor que r2 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo4_bMenor2r1
    = " Valor da dimensão b não pode ser menor que 2*r1 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo4_gMenor2r1
    = " Valor da dimensão g não pode ser menor que 2*r1 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo4_dMenor2r2
    = " Valor da dimensão 'd' não pode ser menor que 2*r2 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo4_jMenor2r2
    = " Valor da dimensão 'j' não pode ser menor que 2*r2 ! \n Operação Cancelada !";
inline constexpr std::string_view Arranjo4_jiMaiorFgh
    = " Valor da dimensão 'j+i' não pode ser maior que 'f+g+h' ! \n Operação Cancelada !";
/// A value that is not a finite number, or dimensions so large that the drawing's coordinates
/// would not be finite.
inline constexpr std::string_view ArranjoValorInvalido
    = " Valor de dimensão inválido ! \n Operação Cancelada !";
// Solver method and the summary of a finished run
inline constexpr std::string_view RotuloMetodo = "Método:";
inline constexpr std::string_view MetodoGradientesConjugados = "Gradientes Conjugados";
inline constexpr std::string_view MetodoDireto = "Direto";
/// A direct solve whose matrix could not be factorised (not definite, or singular).
inline constexpr std::string_view FatoracaoFalhou
    = " Falha na fatoração da matriz de coeficientes ! Operação cancelada !";
/// printf format: solver iterations and the relative residual reached, after a run.
inline constexpr const char* LinhaResiduo = "Iterações : %d     Resíduo Relativo :  %10.3g";
// ---- Picture export (enhanced metafile, images) --------------------------------------------
inline constexpr std::string_view EmfJanelaInvalida
    = " Janela sem extensão: impossível exportar a figura !";
inline constexpr std::string_view FormatoImagemDesconhecido
    = " Formato de imagem desconhecido ! Use .png, .svg ou .pdf.";
inline constexpr std::string_view EmfSoResultados
    = " Arquivo *.emf disponível somente para resultados (*.msh) !";
// Installing and starting the program: files named on its command line, the user manual; the
// question before a large "Refina Total" (%ld: the refined mesh's triangles)
inline constexpr std::string_view TipoArquivoDesconhecido
    = " Tipo de arquivo desconhecido: o programa abre arquivos .des, .pre, .dxf, .dat, .msh e .grp "
      "!";
inline constexpr std::string_view ManualNaoEncontrado
    = " O manual do usuário não foi encontrado junto ao programa !";
inline constexpr std::string_view PerguntaRefinoTotal
    = " A malha refinada terá %ld triângulos (quatro vezes os atuais).\n Continua ?";

// ---- Region integrals, inductance and capacitance -------------------------------------------
inline constexpr std::string_view CorrenteInvalida = " Corrente deve ser diferente de zero !";
inline constexpr std::string_view TensaoInvalida = " Tensão deve ser diferente de zero !";
inline constexpr std::string_view ComprimentoInvalido = " Comprimento deve ser positivo !";
inline constexpr std::string_view IndutanciaSoMagnetico
    = "Indutância disponível somente para análise de campo magnético !\n   Operação cancelada !";
inline constexpr std::string_view CapacitanciaSoEletrico
    = "Capacitância disponível somente para análise de campo elétrico !\n   Operação cancelada !";
inline constexpr std::string_view RotuloArea = "Área (m²) :";
inline constexpr std::string_view RotuloCorrente = "Corrente (A) :";
inline constexpr std::string_view RotuloCorrenteModulo = "Corrente |I| (A) :";
inline constexpr std::string_view RotuloCorrenteFase = "Fase de I (graus) :";
inline constexpr std::string_view RotuloEnergia = "Energia (J/m) :";
inline constexpr std::string_view RotuloEnergiaMedia = "Energia média (J/m) :";
inline constexpr std::string_view RotuloCoenergia = "Coenergia (J/m) :";
inline constexpr std::string_view RotuloPotencialMedioA = "Potencial médio (Wb/m) :";
inline constexpr std::string_view RotuloPotencialMedioV = "Potencial médio (V) :";
inline constexpr std::string_view RotuloPerdas = "Perdas (W/m) :";
// DXF import, and the export's crossings of arcs and removed elements
inline constexpr std::string_view DxfCodigoInvalido
    = " Não é possível ler arquivo DXF: código de grupo inválido !";
inline constexpr std::string_view DxfValorInvalido
    = " Não é possível ler arquivo DXF: valor numérico inválido !";
/// Heading of the list of ignored entity kinds, one "  KIND : count" line each after it.
inline constexpr std::string_view DxfEntidadesIgnoradas
    = " Entidades do arquivo DXF ignoradas na importação :";
/// Followed by the crossing's coordinates in FormatoPontoCruzamento.
inline constexpr std::string_view CruzamentoNaoResolvido
    = " Cruzamento que não pode ser resolvido (tangência ou trecho menor que a distância mínima)"
      " no ponto";
inline constexpr std::string_view FormatoPontoCruzamento = " (%g, %g) !";
/// printf format: how many elements the clean-up and the dangling removal left out.
inline constexpr std::string_view FormatoElementosRemovidos
    = " %zu elemento(s) removido(s) na exportação";

} // namespace tarvex::msg
